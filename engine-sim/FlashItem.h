#pragma once
#include <span>
#include <string>

namespace marlow {

// One image on its way to a phone's storage.
struct FlashItem {
    std::string label;       // as the operator knows it: the package's file name
    std::string storageName; // the file under storage/ that stands for the partition
    std::span<const unsigned char> bytes;
};

} // namespace marlow
