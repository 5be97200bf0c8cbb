#pragma once
#include "engine-sim/PackageFormat.h"

#include <cstdint>
#include <string>
#include <vector>

namespace marlow {

struct PackageEntry {
    std::string name;
    format::Partition partition;
    uint64_t size = 0;
    uint64_t offset = 0;
    uint32_t crc = 0;
};

// What a package's header, package block and file table say.
struct PackageLayout {
    format::HeaderForm form = format::HeaderForm::VK18;
    std::string model;
    std::string version;
    std::vector<PackageEntry> entries;
    uint64_t packageSize = 0;
};

} // namespace marlow
