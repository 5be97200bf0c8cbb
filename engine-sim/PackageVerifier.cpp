#include "engine-sim/PackageVerifier.h"

#include "engine-sim/FileBytes.h"
#include "engine-sim/PackageReader.h"

namespace marlow {

PackageVerifier::PackageVerifier(Step step, std::function<bool()> cancelled)
    : m_step(std::move(step)), m_cancelled(std::move(cancelled))
{
}

Result<std::string> PackageVerifier::verify(const std::filesystem::path& package,
                                            const std::filesystem::path& gpsImage) const
{
    std::string model;
    if (Status contents = verifyContents(package, model); !contents)
        return Result<std::string>::failure(contents.error());
    if (Status gps = verifyGpsImage(gpsImage); !gps)
        return Result<std::string>::failure(gps.error());
    return model;
}

Status PackageVerifier::verifyContents(const std::filesystem::path& package, std::string& model) const
{
    m_step(0, "Verifying package " + package.string() + "...");
    Result<std::unique_ptr<PackageReader>> reader = PackageReader::open(package);
    if (!reader)
        return Status::failure(reader.error());
    const PackageLayout& layout = (*reader)->layout();
    m_step(0, "Header version " + format::headerFormName(layout.form) + ", model " + layout.model + ", package version "
                  + layout.version + ", " + std::to_string(layout.entries.size()) + " files");
    for (std::size_t i = 0; i < layout.entries.size(); ++i) {
        const PackageEntry& entry = layout.entries[i];
        if (Status checked = (*reader)->checkEntry(i, m_cancelled); !checked)
            return checked;
        m_step(1, "Checked " + entry.name + " (" + std::to_string(i + 1) + "/" + std::to_string(layout.entries.size())
                      + ", " + std::to_string(entry.size) + " bytes)");
    }
    model = layout.model;
    return succeeded();
}

Status PackageVerifier::verifyGpsImage(const std::filesystem::path& gpsImage) const
{
    if (gpsImage.empty())
        return succeeded();
    m_step(0, "Verifying GPS image " + gpsImage.string() + "...");
    const Result<std::vector<unsigned char>> bytes = readGpsImage(gpsImage, m_cancelled);
    if (!bytes)
        return Status::failure(bytes.error());
    m_step(1, "Checked GPS image (" + std::to_string(bytes->size()) + " bytes)");
    return succeeded();
}

} // namespace marlow
