#pragma once
#include "download/EngineInterface.h"
#include "engine-sim/FlashOptions.h"
#include "engine-sim/Reporter.h"

#include <filesystem>
#include <memory>

namespace marlow {

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
