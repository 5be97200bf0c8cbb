#pragma once
#include "engine-sim/PhoneProfile.h"
#include "engine-sim/Result.h"
#include "engine-sim/StationProfile.h"

#include <array>
#include <filesystem>

namespace marlow {

// The folder of virtual phones: cellN/phone.ini is a phone attached on cell N,
// cellN/storage/ its flash, station.ini the station that runs the bay.
class BayFolder {
public:
    static constexpr int kCells = 8;

    explicit BayFolder(std::filesystem::path root);
    // MARLOW_BAY when it is set, else "bay" in the given directory.
    static BayFolder located(const std::filesystem::path& defaultParent);

    const std::filesystem::path& root() const { return m_root; }
    std::filesystem::path cellFolder(int cell) const;
    std::filesystem::path storage(int cell) const;

    bool exists() const;
    bool isAttached(int cell) const;
    std::array<bool, kCells> attachedCells() const;
    Result<PhoneProfile> readPhone(int cell) const;
    // The defaults when the bay has no station.ini.
    Result<StationProfile> readStation() const;

    // Attaching and detaching are single renames, so a watcher never sees a
    // phone half made or half gone.
    Status attach(int cell, const PhoneProfile& phone) const;
    Status detach(int cell) const;
    Status writeStation(const StationProfile& station) const;

private:
    std::filesystem::path phoneIni(int cell) const;

    std::filesystem::path m_root;
};

} // namespace marlow
