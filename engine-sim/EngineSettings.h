#pragma once
#include "download/EngineInterface.h"
#include "engine-sim/Reporter.h"

#include <filesystem>
#include <memory>

namespace marlow {

// The nine options of the parameter block, as the engine uses them.
struct FlashOptions {
    bool writePackage = false;
    bool writeGpsImage = false;
    bool checkPhoneName = false;
    bool checkEmmc = false;
    bool checkFuse = false;
    bool checkInstrument = false;
    bool writeLk = false;
    bool writeSystem = false;
    bool writeUserdata = false;
};

// The engine's own copy of a parameter block: the host may rewrite or free its
// block and strings after handing them over.
struct EngineSettings {
    std::filesystem::path package;
    std::filesystem::path gpsImage;
    int role = 0;
    bool ready = false;
    FlashOptions options;
    std::shared_ptr<const Reporter> reporter;

    static EngineSettings from(const EngineParams& params);
};

} // namespace marlow
