#pragma once
#include "engine-sim/IniFile.h"
#include "engine-sim/Result.h"

#include <string>

namespace marlow {

// Who runs the bay, from its station.ini: the station name and the operator
// that go into every phone's factory record.
struct StationProfile {
    std::string station = "DOWNLOAD";
    std::string operatorName;

    static Result<StationProfile> fromIni(const IniFile& ini);
    IniFile toIni() const;
};

} // namespace marlow
