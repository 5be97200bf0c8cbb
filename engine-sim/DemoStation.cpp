#include "engine-sim/DemoStation.h"

#include "engine-sim/PackageWriter.h"

#include <fstream>
#include <vector>

namespace marlow {

namespace fs = std::filesystem;
using format::Partition;

namespace {

constexpr std::size_t kKiB = 1024;
constexpr std::size_t kMiB = 1024 * kKiB;

// Images that do not compress away and differ from one another.
std::vector<unsigned char> imageBytes(std::size_t size, uint64_t seed)
{
    std::vector<unsigned char> bytes(size);
    uint64_t state = 0x9E3779B97F4A7C15ull ^ (seed * 0xD1B54A32D192ED03ull);
    for (std::size_t i = 0; i < size; ++i) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        bytes[i] = static_cast<unsigned char>(state >> 24);
    }
    return bytes;
}

} // namespace

Result<DemoStation::Paths> DemoStation::make(const fs::path& folder)
{
    const Paths paths{folder / "demo.vkb", folder / "gps.img", folder / "bay"};
    std::error_code error;
    fs::create_directories(folder, error);
    if (error)
        return Result<Paths>::failure("cannot create " + folder.string() + ": " + error.message());
    const BayFolder bay(paths.bay);
    for (int cell = 0; cell < BayFolder::kCells; ++cell)
        if (fs::exists(bay.cellFolder(cell), error))
            return Result<Paths>::failure(paths.bay.string() + " already holds phones");
    if (Status written = writePackage(paths.package, kModel); !written)
        return Result<Paths>::failure(written.error());
    if (Status written = writeGpsImage(paths.gpsImage); !written)
        return Result<Paths>::failure(written.error());
    if (Status filled = fillBay(bay, kModel); !filled)
        return Result<Paths>::failure(filled.error());
    return paths;
}

Status DemoStation::writePackage(const fs::path& package, const std::string& model)
{
    PackageWriter writer(model, kVersion);
    writer.addBytes("preloader.bin", Partition::Preloader, imageBytes(256 * kKiB, 1));
    writer.addBytes("lk.bin", Partition::Lk, imageBytes(512 * kKiB, 2));
    writer.addBytes("boot.img", Partition::Boot, imageBytes(4 * kMiB, 3));
    writer.addBytes("logo.bin", Partition::Logo, imageBytes(512 * kKiB, 4));
    writer.addBytes("modem.img", Partition::Modem, imageBytes(2 * kMiB, 5));
    writer.addBytes("system.img", Partition::System, imageBytes(12 * kMiB, 6));
    writer.addBytes("userdata.img", Partition::Userdata, imageBytes(4 * kMiB, 7));
    return writer.write(package);
}

Status DemoStation::writeGpsImage(const fs::path& gpsImage)
{
    const std::vector<unsigned char> bytes = imageBytes(1 * kMiB, 8);
    std::ofstream file(gpsImage, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    file.close();
    return file ? succeeded() : Status::failure("cannot write " + gpsImage.string());
}

PhoneProfile DemoStation::phoneFor(int cell, const std::string& model)
{
    PhoneProfile phone;
    phone.model = model;
    phone.serial = "DM" + std::to_string(240100 + cell * 7);
    phone.emmcCid = PhoneProfile::cidFor(phone.serial);
    phone.usbAddress = "1-1." + std::to_string(cell + 1);
    // From about seven to about twelve seconds for the whole package.
    phone.bytesPerSecond = (2 * kMiB) + uint64_t(cell % 4) * (kMiB / 2);
    if (cell == kCheckFailingCell) {
        phone.model = model + "X";
        phone.emmcCid = "";
        phone.fuseBlown = false;
        phone.instrumentPassed = false;
    }
    if (cell == kWriteFailingCell)
        phone.failAtPercent = kWriteFailurePercent;
    return phone;
}

Status DemoStation::fillBay(const BayFolder& bay, const std::string& model)
{
    std::error_code error;
    for (int cell = 0; cell < BayFolder::kCells; ++cell)
        if (fs::exists(bay.cellFolder(cell), error))
            return Status::failure(bay.root().string() + " already holds phones");
    if (Status written = bay.writeStation(StationProfile{"DOWNLOAD", "demo"}); !written)
        return written;
    for (int cell = 0; cell < BayFolder::kCells; ++cell)
        if (Status attached = bay.attach(cell, phoneFor(cell, model)); !attached)
            return attached;
    return succeeded();
}

} // namespace marlow
