#include "widgets/GifFrame.h"

GifFrame GifFrame::Decode(const GifParser::Frame& piece)
{
    GifFrame frame{QImage::fromData(piece.gif, "GIF"), piece.rect, piece.delay, piece.disposal};
    if (frame.picture.isNull())
        return frame;
    // The reader gives the frame on its logical screen; the frame keeps its own pixels.
    if (frame.picture.size() != piece.rect.size())
        frame.picture = frame.picture.copy(piece.rect);
    frame.picture.convertTo(QImage::Format_ARGB32_Premultiplied);
    return frame;
}
