#include "widgets/GifParser.h"

namespace {

constexpr char kExtensionIntroducer = 0x21;
constexpr char kImageSeparator = 0x2C;
constexpr char kTrailer = 0x3B;
constexpr unsigned char kGraphicControlLabel = 0xF9;
constexpr qsizetype kScreenEnd = 13;         // header and logical screen descriptor
constexpr qsizetype kImageDescriptorSize = 10;

int byteAt(QByteArrayView data, qsizetype pos)
{
    return static_cast<unsigned char>(data[pos]);
}

int wordAt(QByteArrayView data, qsizetype pos)
{
    return byteAt(data, pos) | (byteAt(data, pos + 1) << 8);
}

qsizetype colourTableSize(int packedFields)
{
    return (packedFields & 0x80) ? qsizetype(3) << ((packedFields & 0x07) + 1) : 0;
}

// Position after a run of data sub-blocks, or nullopt when the run is cut short.
std::optional<qsizetype> skipSubBlocks(QByteArrayView data, qsizetype pos)
{
    while (pos < data.size()) {
        const int length = byteAt(data, pos);
        pos += 1 + length;
        if (length == 0)
            return pos;
    }
    return std::nullopt;
}

struct GraphicControl {
    int delay = 0;
    int disposal = 0;
};

GraphicControl readGraphicControl(QByteArrayView data, qsizetype blockStart)
{
    // The block is at least four bytes long: packed fields, delay, transparent index.
    if (byteAt(data, blockStart) < 4 || blockStart + 4 >= data.size())
        return {};
    return {wordAt(data, blockStart + 2), (byteAt(data, blockStart + 1) >> 2) & 0x07};
}

} // namespace

std::optional<GifParser::Contents> GifParser::Parse(QByteArrayView data)
{
    if (data.size() < kScreenEnd || !data.startsWith("GIF"))
        return std::nullopt;

    Contents contents;
    contents.screen = QSize(wordAt(data, 6), wordAt(data, 8));
    const int screenFields = byteAt(data, 10);
    const qsizetype globalTableSize = colourTableSize(screenFields);
    if (kScreenEnd + globalTableSize > data.size())
        return std::nullopt;
    if (globalTableSize > 0) {
        const qsizetype entry = kScreenEnd + 3 * qsizetype(byteAt(data, 11));
        if (entry + 3 <= kScreenEnd + globalTableSize)
            contents.background = qRgb(byteAt(data, entry), byteAt(data, entry + 1), byteAt(data, entry + 2));
    }
    const QByteArrayView prefix = data.first(kScreenEnd + globalTableSize);

    qsizetype pos = prefix.size();
    qsizetype frameStart = pos; // the blocks since the previous image belong to the next one
    GraphicControl control;
    while (pos < data.size()) {
        const char introducer = data[pos];
        if (introducer == kTrailer)
            return contents.frames.isEmpty() ? std::nullopt : std::optional(contents);
        if (introducer == kExtensionIntroducer) {
            if (pos + 2 >= data.size())
                return std::nullopt;
            if (byteAt(data, pos + 1) == kGraphicControlLabel)
                control = readGraphicControl(data, pos + 2);
            const std::optional<qsizetype> end = skipSubBlocks(data, pos + 2);
            if (!end)
                return std::nullopt;
            pos = *end;
        } else if (introducer == kImageSeparator) {
            if (pos + kImageDescriptorSize >= data.size())
                return std::nullopt;
            const QRect rect(wordAt(data, pos + 1), wordAt(data, pos + 3), wordAt(data, pos + 5), wordAt(data, pos + 7));
            // The local colour table and the code size byte come before the data blocks.
            const qsizetype dataStart = pos + kImageDescriptorSize + colourTableSize(byteAt(data, pos + 9)) + 1;
            const std::optional<qsizetype> end = skipSubBlocks(data, dataStart);
            if (!end)
                return std::nullopt;
            pos = *end;
            Frame frame{prefix.toByteArray() + data.sliced(frameStart, pos - frameStart).toByteArray() + kTrailer,
                        rect, control.delay, control.disposal};
            contents.frames.append(std::move(frame));
            frameStart = pos;
            control = {};
        } else {
            return std::nullopt;
        }
    }
    return std::nullopt; // ended without a trailer: cut short
}
