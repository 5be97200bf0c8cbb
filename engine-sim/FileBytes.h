#pragma once
#include "engine-sim/Result.h"

#include <filesystem>
#include <functional>
#include <vector>

namespace marlow {

// The whole contents of a file, read in pieces so that cancelled() is heard
// within one piece; fails with "cancelled" when it turns true.
Result<std::vector<unsigned char>> readWholeFile(const std::filesystem::path& path,
                                                 const std::function<bool()>& cancelled);

} // namespace marlow

namespace marlow {

// A GPS image is written as it is; it must be readable and not empty.
Result<std::vector<unsigned char>> readGpsImage(const std::filesystem::path& path,
                                                const std::function<bool()>& cancelled);

} // namespace marlow
