#include "engine-sim/FlashSource.h"

#include "engine-sim/FileBytes.h"
#include "engine-sim/PackageReader.h"

namespace marlow {

namespace {

Result<PackageLayout> readLayout(const std::filesystem::path& package)
{
    Result<std::unique_ptr<PackageReader>> reader = PackageReader::open(package);
    if (!reader)
        return Result<PackageLayout>::failure(reader.error());
    return (*reader)->layout();
}

} // namespace

FlashSource::FlashSource(std::filesystem::path package, std::filesystem::path gpsImage)
    : m_packagePath(std::move(package)), m_gpsPath(std::move(gpsImage)), m_layout(readLayout(m_packagePath))
{
}

Result<std::shared_ptr<const PackageImage>> FlashSource::package(const std::function<bool()>& cancelled)
{
    std::lock_guard lock(m_mutex);
    if (cancelled())
        return Result<std::shared_ptr<const PackageImage>>::failure("cancelled");
    if (!m_package) {
        Result<std::shared_ptr<const PackageImage>> loaded = PackageImage::load(m_packagePath, cancelled);
        if (!loaded)
            return loaded;
        m_package = *loaded;
    }
    return m_package;
}

Result<FlashSource::Bytes> FlashSource::gpsImage(const std::function<bool()>& cancelled)
{
    std::lock_guard lock(m_mutex);
    if (cancelled())
        return Result<Bytes>::failure("cancelled");
    if (m_gpsPath.empty())
        return Result<Bytes>::failure("no GPS image was chosen");
    if (!m_gps) {
        Result<std::vector<unsigned char>> loaded = readGpsImage(m_gpsPath, cancelled);
        if (!loaded)
            return Result<Bytes>::failure(loaded.error());
        m_gps = std::make_shared<const std::vector<unsigned char>>(std::move(*loaded));
    }
    return m_gps;
}

} // namespace marlow
