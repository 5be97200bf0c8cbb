#include "engine-sim/PhoneFlasher.h"

#include "engine-sim/EngineCodes.h"

#include <climits>
#include <exception>

namespace marlow {

using format::Partition;

PhoneFlasher::PhoneFlasher(PhoneJob job) : m_job(std::move(job)) {}

void PhoneFlasher::run(std::stop_token stop)
{
    m_job.reporter->state(m_job.cell, fileKind(), Started);
    Status outcome = succeeded();
    try {
        outcome = flash(stop);
    } catch (const std::exception& error) {
        outcome = Status::failure(std::string("Internal engine error: ") + error.what());
    }
    say(outcome ? ProgressLine : ErrorLine, outcome ? "Download finished: everything written and checked" : outcome.error());
    sendRecordLines();
    m_job.reporter->state(m_job.cell, fileKind(), outcome ? Passed : Failed);
    // The images stay in memory only while some cell still writes from them.
    m_package.reset();
    m_gpsImage.reset();
}

Status PhoneFlasher::flash(const std::stop_token& stop)
{
    if (!m_job.phone)
        return Status::failure(m_job.phone.error());
    const PhoneProfile& phone = *m_job.phone;
    say(InfoLine, "Phone " + phone.model + ", serial " + phone.serial + ", on " + phone.usbAddressOr(m_job.cell));
    if (!m_job.source->layout())
        return Status::failure("The package cannot be used: " + m_job.source->layout().error());
    if (Status checked = checkPhone(); !checked)
        return checked;
    Result<std::vector<FlashItem>> items = plan(stop);
    if (!items)
        return Status::failure(items.error());
    if (items->empty())
        say(InfoLine, "Nothing is selected to write");
    return writeAll(*items, stop);
}

Status PhoneFlasher::checkPhone() const
{
    const PhoneProfile& phone = *m_job.phone;
    const std::string& model = m_job.source->layout()->model;
    struct Check {
        bool wanted;
        const char* name;
        bool passed;
        std::string failure;
    };
    const Check checks[] = {
        {m_job.options.checkPhoneName, "phone name", phone.model == model,
         "Phone name check failed: the phone is " + phone.model + ", the package is for " + model},
        {m_job.options.checkEmmc, "eMMC", phone.cidIsSound(),
         "eMMC check failed: CID \"" + phone.emmcCid + "\" is not a valid eMMC CID"},
        {m_job.options.checkFuse, "fuse", phone.fuseBlown, "Fuse check failed: the security fuse is open"},
        {m_job.options.checkInstrument, "instrument", phone.instrumentPassed,
         "Instrument check failed: the phone did not pass its instrument tests"},
    };
    for (const Check& check : checks) {
        if (!check.wanted)
            continue;
        say(DetailLine, std::string("Checking ") + check.name + "...");
        if (!check.passed)
            return Status::failure(check.failure);
        say(ProgressLine, std::string("Check of ") + check.name + " passed");
    }
    return succeeded();
}

Result<std::vector<FlashItem>> PhoneFlasher::plan(const std::stop_token& stop)
{
    std::vector<FlashItem> items;
    if (m_job.options.writePackage)
        if (Status loaded = loadPackageItems(stop, items); !loaded)
            return Result<std::vector<FlashItem>>::failure(loaded.error());
    if (m_job.options.writeGpsImage)
        if (Status loaded = loadGpsItem(stop, items); !loaded)
            return Result<std::vector<FlashItem>>::failure(loaded.error());
    return items;
}

Status PhoneFlasher::loadPackageItems(const std::stop_token& stop, std::vector<FlashItem>& items)
{
    Result<std::shared_ptr<const PackageImage>> package = m_job.source->package([&] { return stop.stop_requested(); });
    if (!package)
        return failedToLoad("the package", package.error(), stop);
    m_package = *package;
    for (const PackageEntry& entry : m_package->layout().entries) {
        const std::string partition = format::partitionName(entry.partition);
        if (partitionSelected(entry.partition))
            items.push_back({entry.name, partition + ".img", m_package->contents(entry)});
        else
            say(InfoLine, "Skipping " + entry.name + ": the " + partition + " partition is not selected");
    }
    return succeeded();
}

Status PhoneFlasher::loadGpsItem(const std::stop_token& stop, std::vector<FlashItem>& items)
{
    Result<FlashSource::Bytes> gps = m_job.source->gpsImage([&] { return stop.stop_requested(); });
    if (!gps)
        return failedToLoad("the GPS image", gps.error(), stop);
    m_gpsImage = *gps;
    items.push_back({"the GPS image", "gps.img", *m_gpsImage});
    return succeeded();
}

Status PhoneFlasher::failedToLoad(const std::string& what, const std::string& reason, const std::stop_token& stop) const
{
    if (!stop.stop_requested())
        return Status::failure("Cannot write " + what + ": " + reason);
    return Status::failure(phonePresent() ? "Download stopped before writing " + what
                                          : "Device removed before writing " + what);
}

bool PhoneFlasher::partitionSelected(Partition partition) const
{
    switch (partition) {
    case Partition::Lk: return m_job.options.writeLk;
    case Partition::System: return m_job.options.writeSystem;
    case Partition::Userdata: return m_job.options.writeUserdata;
    default: return true;
    }
}

Status PhoneFlasher::writeAll(const std::vector<FlashItem>& items, const std::stop_token& stop)
{
    uint64_t total = 0;
    for (const FlashItem& item : items)
        total += item.bytes.size();
    std::error_code error;
    // Only the storage folder itself: a phone folder that has gone must not come back.
    std::filesystem::create_directory(m_job.bay.storage(m_job.cell), error);
    if (error)
        return Status::failure(phonePresent() ? "Cannot prepare the phone's storage: " + error.message()
                                              : "Device removed before writing");
    StorageWriter writer({m_job.bay.storage(m_job.cell), total, m_job.phone->bytesPerSecond, m_job.phone->failAtPercent},
                         stop, [this] { return phonePresent(); },
                         [this, total](uint64_t done) { reportProgress(done, total); });
    reportProgress(0, total);
    for (const FlashItem& item : items) {
        say(ProgressLine, "Writing " + item.label + " (" + std::to_string(item.bytes.size()) + " bytes)...");
        if (Status written = writer.write(item); !written)
            return written;
        say(ProgressLine, "Wrote and checked " + item.label);
    }
    return succeeded();
}

void PhoneFlasher::reportProgress(uint64_t done, uint64_t total)
{
    if (total == 0)
        return;
    const int percent = int(done * 100 / total);
    if (percent == m_lastPercent)
        return;
    m_lastPercent = percent;
    // The record holds 32-bit numbers: large totals are counted in KiB, MiB, ...
    int shift = 0;
    while ((total >> shift) > uint64_t(INT32_MAX))
        shift += 10;
    m_job.reporter->progress(m_job.cell, int32_t(total >> shift), int32_t(done >> shift));
}

void PhoneFlasher::sendRecordLines() const
{
    const Result<PackageLayout>& layout = m_job.source->layout();
    const std::string model = layout ? layout->model : "";
    const std::string version = layout ? layout->version : "";
    const std::string serial = m_job.phone ? m_job.phone->serial : "";
    say(RecordLine, "TYPE:TestResult");
    say(RecordLine, "Project=" + model + "_" + version);
    say(MarkerLine, version);
    say(RecordLine, "TestStation=" + m_job.station.station);
    say(RecordLine, "SN=" + serial);
    say(RecordLine, "Operator=" + m_job.station.operatorName);
}

int PhoneFlasher::fileKind() const
{
    if (m_job.options.writePackage && !m_job.options.writeGpsImage)
        return PackageFiles;
    if (m_job.options.writeGpsImage && !m_job.options.writePackage)
        return GpsFiles;
    return AllFiles;
}

bool PhoneFlasher::phonePresent() const
{
    return m_job.bay.isAttached(m_job.cell);
}

void PhoneFlasher::say(int kind, const std::string& text) const
{
    m_job.reporter->message(m_job.cell, kind, text);
}

} // namespace marlow
