#pragma once
#include "engine-sim/BayFolder.h"
#include "engine-sim/EngineSettings.h"
#include "engine-sim/FlashSource.h"

#include <array>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <stop_token>
#include <thread>

namespace marlow {

// Download mode: watches the bay, reports phones coming and going, and runs one
// download thread per attached phone until stopped. Every thread it starts is
// joined before run() returns.
class DownloadSession {
public:
    DownloadSession(EngineSettings settings, BayFolder bay);
    ~DownloadSession();
    DownloadSession(const DownloadSession&) = delete;
    DownloadSession& operator=(const DownloadSession&) = delete;

    void run();
    // Safe from any thread, before or during run().
    void stop();
    std::stop_token stopToken() const { return m_stop.get_token(); }

private:
    struct Slot {
        std::jthread thread;
        std::shared_ptr<std::atomic<bool>> finished;
        bool leaving = false;
    };

    void watchBay();
    void noteBayPresence();
    void updateCell(int cell, bool present);
    void attach(int cell);
    void stopAndJoinAll();
    void say(const std::string& text, int kind) const;

    EngineSettings m_settings;
    BayFolder m_bay;
    StationProfile m_station;
    std::shared_ptr<FlashSource> m_source;
    std::stop_source m_stop;
    std::mutex m_wakeMutex;
    std::condition_variable_any m_wake;
    std::array<Slot, BayFolder::kCells> m_slots;
    bool m_bayMissing = false;
};

} // namespace marlow
