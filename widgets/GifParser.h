#pragma once
#include <QByteArray>
#include <QList>
#include <QRect>
#include <QRgb>
#include <QSize>

#include <optional>

// Reads the structure of a GIF file without decoding its pixels: the logical
// screen, the background colour and every image, each cut out as a GIF of its own
// that any decoder can read.
class GifParser {
public:
    struct Frame {
        QByteArray gif;   // header, screen and global table, the frame's blocks, trailer
        QRect rect;       // left, top, width and height on the logical screen
        int delay = 0;    // hundredths of a second
        int disposal = 0;
    };

    struct Contents {
        QSize screen;
        std::optional<QRgb> background;
        QList<Frame> frames;
    };

    // Refuses data that is not a GIF, holds no image, or is cut short or malformed.
    static std::optional<Contents> Parse(QByteArrayView data);
};
