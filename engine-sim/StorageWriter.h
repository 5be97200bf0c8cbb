#pragma once
#include "engine-sim/FlashItem.h"
#include "engine-sim/Result.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <stop_token>

namespace marlow {

// Writes a phone's images at the phone's speed, breaks off where the phone is
// set to fail, reads every image back, and gives way at once when stopped.
class StorageWriter {
public:
    struct Setup {
        std::filesystem::path storage;
        uint64_t totalBytes = 0;
        uint64_t bytesPerSecond = 0;
        std::optional<int> failAtPercent;
    };

    StorageWriter(Setup setup, std::stop_token stop, std::function<bool()> phonePresent,
                  std::function<void(uint64_t done)> onProgress);

    Status write(const FlashItem& item);

private:
    Status writeContents(const FlashItem& item, const std::filesystem::path& target);
    Status readBack(const FlashItem& item, const std::filesystem::path& target);
    Status interrupted(const FlashItem& item, const std::string& ioError) const;
    std::size_t chunkSize() const;
    void keepPace();

    Setup m_setup;
    std::stop_token m_stop;
    std::function<bool()> m_phonePresent;
    std::function<void(uint64_t)> m_onProgress;
    std::optional<uint64_t> m_failAt;
    uint64_t m_done = 0;
    std::chrono::steady_clock::time_point m_start;
};

} // namespace marlow
