#pragma once
#include <cstdint>

// Colour types of the lines sent to a cell's page. The logger recognises record
// and marker lines by their exact colour values, so the values are part of the
// contract between the event dispatch and the logger.
enum LineColour : int {
    LineInformation = 0,
    LineProgress = 1,
    LineSuccess = 2,
    LineError = 3,
    LineRecord = 4,
    LineMarker = 5,
};

struct RgbColour {
    uint8_t red;
    uint8_t green;
    uint8_t blue;

    friend constexpr bool operator==(RgbColour, RgbColour) = default;
};

constexpr RgbColour kRecordLineRgb{255, 254, 253};
constexpr RgbColour kMarkerLineRgb{254, 253, 252};

// The colour a line of the given type carries; types outside 0 to 5 are shown as
// engine information.
constexpr RgbColour lineColourRgb(int type)
{
    switch (type) {
    case LineProgress: return {238, 180, 31};
    case LineSuccess: return {29, 233, 0};
    case LineError: return {255, 35, 35};
    case LineRecord: return kRecordLineRgb;
    case LineMarker: return kMarkerLineRgb;
    default: return {64, 196, 255};
    }
}
