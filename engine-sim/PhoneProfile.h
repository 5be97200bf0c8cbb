#pragma once
#include "engine-sim/IniFile.h"
#include "engine-sim/Result.h"

#include <cstdint>
#include <optional>
#include <string>

namespace marlow {

// What a virtual phone is, as its phone.ini describes it.
struct PhoneProfile {
    std::string model;
    std::string serial;
    std::string emmcCid;                   // 32 hex digits on a sound eMMC
    bool fuseBlown = true;                 // "fuse=blown" or "fuse=open"
    bool instrumentPassed = true;          // "instrument=pass" or "instrument=fail"
    std::string usbAddress;
    uint64_t bytesPerSecond = 0;           // 0: as fast as the disk takes it
    std::optional<int> failAtPercent;      // 0 to 99: writing breaks off there

    static Result<PhoneProfile> fromIni(const IniFile& ini);
    IniFile toIni() const;

    bool cidIsSound() const;
    // The USB address, or one made from the cell when phone.ini names none.
    std::string usbAddressOr(int cell) const;
    // A well-formed CID derived from a serial number, for phones made up by the tool.
    static std::string cidFor(const std::string& serial);
};

} // namespace marlow
