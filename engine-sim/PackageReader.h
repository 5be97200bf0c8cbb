#pragma once
#include "engine-sim/PackageLayout.h"
#include "engine-sim/Result.h"

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <span>

namespace marlow {

// Reads a package from disk piece by piece: the layout first, then each file's
// contents against its checksum, never holding more than a small buffer.
class PackageReader {
public:
    static Result<std::unique_ptr<PackageReader>> open(const std::filesystem::path& path);

    const PackageLayout& layout() const { return m_layout; }

    // Streams one file's contents and compares its CRC-32 with the table's.
    // Stops early, failing with "cancelled", when cancelled() turns true.
    Status checkEntry(std::size_t index, const std::function<bool()>& cancelled);

    // How many bytes the header, package block and file table take, given at least
    // the first kTableOffset bytes of a package of packageSize bytes.
    static Result<std::size_t> layoutSize(std::span<const unsigned char> front, uint64_t packageSize);
    // The layout from the package's first layoutSize() bytes, every field checked.
    static Result<PackageLayout> parseLayout(std::span<const unsigned char> front, uint64_t packageSize);

private:
    PackageReader(std::ifstream file, PackageLayout layout);

    std::ifstream m_file;
    PackageLayout m_layout;
};

} // namespace marlow
