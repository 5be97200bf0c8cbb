#pragma once
#include "engine-sim/BayFolder.h"
#include "engine-sim/Result.h"

#include <filesystem>
#include <string>

namespace marlow {

// A station to show the program with: a package, a GPS image and a bay of eight
// phones, six that pass, one that fails a check and one that fails while writing.
class DemoStation {
public:
    static constexpr const char* kModel = "DEMO100";
    static constexpr const char* kVersion = "V1.0.0_DEMO";
    // Every check fails on this phone, so it fails whichever checks are on.
    static constexpr int kCheckFailingCell = 5;
    static constexpr int kWriteFailingCell = 2;
    static constexpr int kWriteFailurePercent = 40;

    struct Paths {
        std::filesystem::path package;
        std::filesystem::path gpsImage;
        std::filesystem::path bay;
    };

    // Makes folder/demo.vkb, folder/gps.img and folder/bay.
    static Result<Paths> make(const std::filesystem::path& folder);
    static Status writePackage(const std::filesystem::path& package, const std::string& model);
    static Status writeGpsImage(const std::filesystem::path& gpsImage);
    // Refuses a bay that already holds phones.
    static Status fillBay(const BayFolder& bay, const std::string& model);

    static PhoneProfile phoneFor(int cell, const std::string& model);
};

} // namespace marlow
