#include "widgets/GifParser.h"

#include <cstddef>
#include <cstdint>

// Every frame the parser cuts out must itself be a GIF with that one frame.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<GifParser::Contents> contents = GifParser::Parse(bytes);
    if (!contents)
        return 0;
    for (const GifParser::Frame& frame : contents->frames) {
        const std::optional<GifParser::Contents> piece = GifParser::Parse(frame.gif);
        if (!piece || piece->frames.size() != 1 || piece->frames[0].rect != frame.rect
            || piece->frames[0].delay != frame.delay || piece->frames[0].disposal != frame.disposal
            || piece->screen != contents->screen)
            __builtin_trap();
    }
    return 0;
}
