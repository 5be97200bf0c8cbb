#pragma once
#include "widgets/GifParser.h"

#include <QImage>
#include <QRect>

// One decoded frame of an animated picture.
struct GifFrame {
    enum Disposal { RestoreBackground = 2, RestorePrevious = 3 };

    // Decodes a frame cut out by the parser; the picture is null when it cannot be read.
    static GifFrame Decode(const GifParser::Frame& piece);

    QImage picture;   // the frame's own pixels, transparent where the file says so
    QRect rect;       // where it goes on the picture
    int delay = 0;    // hundredths of a second
    int disposal = 0;
};
