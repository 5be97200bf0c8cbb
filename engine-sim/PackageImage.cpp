#include "engine-sim/PackageImage.h"

#include "engine-sim/Crc32.h"
#include "engine-sim/FileBytes.h"
#include "engine-sim/PackageReader.h"

namespace marlow {

PackageImage::PackageImage(std::vector<unsigned char> bytes, PackageLayout layout)
    : m_bytes(std::move(bytes)), m_layout(std::move(layout))
{
}

std::span<const unsigned char> PackageImage::contents(const PackageEntry& entry) const
{
    return std::span(m_bytes).subspan(std::size_t(entry.offset), std::size_t(entry.size));
}

Result<std::shared_ptr<const PackageImage>> PackageImage::load(const std::filesystem::path& path,
                                                               const std::function<bool()>& cancelled)
{
    using Image = Result<std::shared_ptr<const PackageImage>>;
    Result<std::vector<unsigned char>> bytes = readWholeFile(path, cancelled);
    if (!bytes)
        return Image::failure(bytes.error());
    Result<PackageLayout> layout = PackageReader::parseLayout(*bytes, bytes->size());
    if (!layout)
        return Image::failure(layout.error());
    std::shared_ptr<const PackageImage> image(new PackageImage(std::move(*bytes), std::move(*layout)));
    // Checked again although verification passed: the file may have changed since.
    for (const PackageEntry& entry : image->layout().entries) {
        if (cancelled())
            return Image::failure("cancelled");
        if (Crc32::of(image->contents(entry)) != entry.crc)
            return Image::failure("checksum mismatch in " + entry.name);
    }
    return image;
}

} // namespace marlow
