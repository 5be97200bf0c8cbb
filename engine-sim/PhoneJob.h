#pragma once
#include "engine-sim/BayFolder.h"
#include "engine-sim/FlashOptions.h"
#include "engine-sim/FlashSource.h"
#include "engine-sim/Reporter.h"

#include <memory>

namespace marlow {

// Everything one phone's download needs.
struct PhoneJob {
    int cell = 0;
    Result<PhoneProfile> phone = PhoneProfile{};
    BayFolder bay{{}};
    StationProfile station;
    FlashOptions options;
    std::shared_ptr<FlashSource> source;
    std::shared_ptr<const Reporter> reporter;
};

} // namespace marlow
