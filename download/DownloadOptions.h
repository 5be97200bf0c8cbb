#pragma once
#include <cstdint>

// The nine switches the main frame computes from the download profile when Start
// is pressed, each 0 or 1, always in this order.
struct DownloadOptions {
    int32_t DownLoadVKB = 0;
    int32_t DownloadRES = 0;
    int32_t CKPhoneName = 0;
    int32_t CKeMMC = 0;
    int32_t CKFuse = 0;
    int32_t CKInstrument = 0;
    int32_t DownLK = 0;
    int32_t DownSystem = 0;
    int32_t DownUserdata = 0;

    friend bool operator==(const DownloadOptions&, const DownloadOptions&) = default;
};
