#include "engine-sim/StationProfile.h"

namespace marlow {

namespace {
constexpr std::string_view kStation = "station";
constexpr std::string_view kOperator = "operator";
} // namespace

Result<StationProfile> StationProfile::fromIni(const IniFile& ini)
{
    if (const auto unknown = ini.unknownKey({kStation, kOperator}))
        return Result<StationProfile>::failure("unknown key " + *unknown);
    StationProfile profile;
    if (const auto station = ini.value(kStation); station && !station->empty())
        profile.station = *station;
    profile.operatorName = ini.value(kOperator).value_or("");
    return profile;
}

IniFile StationProfile::toIni() const
{
    IniFile ini;
    ini.set(std::string(kStation), station);
    ini.set(std::string(kOperator), operatorName);
    return ini;
}

} // namespace marlow
