#pragma once
#include "engine-sim/PackageLayout.h"
#include "engine-sim/Result.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <vector>

namespace marlow {

// A whole package held in memory with every checksum confirmed: the one
// read-only view that all cells of a download session write from.
class PackageImage {
public:
    static Result<std::shared_ptr<const PackageImage>> load(const std::filesystem::path& path,
                                                            const std::function<bool()>& cancelled);

    const PackageLayout& layout() const { return m_layout; }
    std::span<const unsigned char> contents(const PackageEntry& entry) const;

private:
    PackageImage(std::vector<unsigned char> bytes, PackageLayout layout);

    std::vector<unsigned char> m_bytes;
    PackageLayout m_layout;
};

} // namespace marlow
