#include "engine-sim/BayFolder.h"

#include <cstdlib>
#include <unistd.h>

namespace marlow {

namespace fs = std::filesystem;

namespace {

std::string uniqueSuffix(int cell)
{
    return std::to_string(cell) + "." + std::to_string(::getpid());
}

} // namespace

BayFolder::BayFolder(fs::path root) : m_root(std::move(root)) {}

BayFolder BayFolder::located(const fs::path& defaultParent)
{
    const char* fromEnvironment = std::getenv("MARLOW_BAY");
    if (fromEnvironment && *fromEnvironment)
        return BayFolder(fromEnvironment);
    return BayFolder(defaultParent / "bay");
}

fs::path BayFolder::cellFolder(int cell) const { return m_root / ("cell" + std::to_string(cell)); }
fs::path BayFolder::storage(int cell) const { return cellFolder(cell) / "storage"; }
fs::path BayFolder::phoneIni(int cell) const { return cellFolder(cell) / "phone.ini"; }

bool BayFolder::exists() const
{
    std::error_code error;
    return fs::is_directory(m_root, error);
}

bool BayFolder::isAttached(int cell) const
{
    std::error_code error;
    return fs::is_regular_file(phoneIni(cell), error);
}

std::array<bool, BayFolder::kCells> BayFolder::attachedCells() const
{
    std::array<bool, kCells> attached{};
    for (int cell = 0; cell < kCells; ++cell)
        attached[cell] = isAttached(cell);
    return attached;
}

Result<PhoneProfile> BayFolder::readPhone(int cell) const
{
    const Result<IniFile> ini = IniFile::load(phoneIni(cell));
    if (!ini)
        return Result<PhoneProfile>::failure(ini.error());
    Result<PhoneProfile> phone = PhoneProfile::fromIni(*ini);
    if (!phone)
        return Result<PhoneProfile>::failure("phone.ini: " + phone.error());
    return phone;
}

Result<StationProfile> BayFolder::readStation() const
{
    const fs::path path = m_root / "station.ini";
    std::error_code error;
    if (!fs::exists(path, error))
        return StationProfile{};
    const Result<IniFile> ini = IniFile::load(path);
    if (!ini)
        return Result<StationProfile>::failure(ini.error());
    Result<StationProfile> station = StationProfile::fromIni(*ini);
    if (!station)
        return Result<StationProfile>::failure("station.ini: " + station.error());
    return station;
}

Status BayFolder::attach(int cell, const PhoneProfile& phone) const
{
    if (cell < 0 || cell >= kCells)
        return Status::failure("cells are numbered 0 to 7");
    std::error_code error;
    if (fs::exists(cellFolder(cell), error))
        return Status::failure("cell " + std::to_string(cell) + " already holds a phone");
    fs::create_directories(m_root, error);
    const fs::path staging = m_root / (".attaching-cell" + uniqueSuffix(cell));
    fs::remove_all(staging, error);
    fs::create_directories(staging / "storage", error);
    if (error)
        return Status::failure("cannot create " + staging.string() + ": " + error.message());
    if (Status saved = phone.toIni().save(staging / "phone.ini"); !saved) {
        fs::remove_all(staging, error);
        return saved;
    }
    fs::rename(staging, cellFolder(cell), error);
    if (error) {
        fs::remove_all(staging, error);
        return Status::failure("cannot attach a phone on cell " + std::to_string(cell));
    }
    return succeeded();
}

Status BayFolder::detach(int cell) const
{
    if (cell < 0 || cell >= kCells)
        return Status::failure("cells are numbered 0 to 7");
    std::error_code error;
    if (!fs::exists(cellFolder(cell), error))
        return Status::failure("cell " + std::to_string(cell) + " holds no phone");
    const fs::path leaving = m_root / (".detaching-cell" + uniqueSuffix(cell));
    fs::remove_all(leaving, error);
    fs::rename(cellFolder(cell), leaving, error);
    if (error)
        return Status::failure("cannot detach the phone on cell " + std::to_string(cell) + ": " + error.message());
    fs::remove_all(leaving, error);
    return succeeded();
}

Status BayFolder::writeStation(const StationProfile& station) const
{
    std::error_code error;
    fs::create_directories(m_root, error);
    if (error)
        return Status::failure("cannot create " + m_root.string() + ": " + error.message());
    return station.toIni().save(m_root / "station.ini");
}

} // namespace marlow
