#pragma once
#include "engine-sim/PackageImage.h"
#include "engine-sim/PackageLayout.h"
#include "engine-sim/Result.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace marlow {

// What the cells of one download session write from. The package's layout is
// read when the session starts; its contents and the GPS image are read on the
// first demand and then shared, read-only, by every cell.
class FlashSource {
public:
    using Bytes = std::shared_ptr<const std::vector<unsigned char>>;

    FlashSource(std::filesystem::path package, std::filesystem::path gpsImage);

    // The layout, or why the package cannot be used.
    const Result<PackageLayout>& layout() const { return m_layout; }

    // A failed or cancelled read is not kept: the next cell tries again.
    Result<std::shared_ptr<const PackageImage>> package(const std::function<bool()>& cancelled);
    Result<Bytes> gpsImage(const std::function<bool()>& cancelled);

private:
    std::filesystem::path m_packagePath;
    std::filesystem::path m_gpsPath;
    Result<PackageLayout> m_layout;
    std::mutex m_mutex;
    std::shared_ptr<const PackageImage> m_package;
    Bytes m_gps;
};

} // namespace marlow
