#pragma once
#include "engine-sim/FlashSource.h"
#include "engine-sim/PhoneJob.h"
#include "engine-sim/StorageWriter.h"

#include <memory>
#include <stop_token>
#include <vector>

namespace marlow {

// One phone's download, on a thread of its own: state 1, the checks the options
// ask for, the selected images written and read back, the factory record lines,
// and exactly one final state.
class PhoneFlasher {
public:
    explicit PhoneFlasher(PhoneJob job);

    void run(std::stop_token stop);

private:
    Status flash(const std::stop_token& stop);
    Status checkPhone() const;
    Result<std::vector<FlashItem>> plan(const std::stop_token& stop);
    Status loadPackageItems(const std::stop_token& stop, std::vector<FlashItem>& items);
    Status loadGpsItem(const std::stop_token& stop, std::vector<FlashItem>& items);
    bool partitionSelected(format::Partition partition) const;
    Status writeAll(const std::vector<FlashItem>& items, const std::stop_token& stop);
    Status failedToLoad(const std::string& what, const std::string& reason, const std::stop_token& stop) const;
    void reportProgress(uint64_t done, uint64_t total);
    void sendRecordLines() const;
    int fileKind() const;
    bool phonePresent() const;
    void say(int kind, const std::string& text) const;

    PhoneJob m_job;
    std::shared_ptr<const PackageImage> m_package;
    FlashSource::Bytes m_gpsImage;
    int m_lastPercent = -1;
};

} // namespace marlow
