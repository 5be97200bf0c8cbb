#include "engine-sim/DownloadSession.h"

#include "engine-sim/EngineCodes.h"
#include "engine-sim/PhoneFlasher.h"

#include <chrono>

namespace marlow {

namespace {
// How often the bay is looked at; a stop is heard at once, not at the next look.
constexpr auto kWatchInterval = std::chrono::milliseconds(100);
} // namespace

DownloadSession::DownloadSession(EngineSettings settings, BayFolder bay)
    : m_settings(std::move(settings)), m_bay(std::move(bay)),
      m_source(std::make_shared<FlashSource>(m_settings.package, m_settings.gpsImage))
{
}

DownloadSession::~DownloadSession()
{
    stopAndJoinAll();
}

void DownloadSession::run()
{
    const Result<StationProfile> station = m_bay.readStation();
    if (station)
        m_station = *station;
    else
        say("The station settings cannot be used, DOWNLOAD is assumed: " + station.error(), ErrorLine);
    if (!m_source->layout())
        say("The package cannot be used: " + m_source->layout().error(), ErrorLine);
    noteBayPresence();
    say("Download mode: watching " + m_bay.root().string() + " at station " + m_station.station, InfoLine);
    watchBay();
    stopAndJoinAll();
    say("Download mode ended", InfoLine);
}

void DownloadSession::stop()
{
    m_stop.request_stop();
}

void DownloadSession::watchBay()
{
    const std::stop_token stop = m_stop.get_token();
    while (!stop.stop_requested()) {
        noteBayPresence();
        const std::array<bool, BayFolder::kCells> present = m_bay.attachedCells();
        for (int cell = 0; cell < BayFolder::kCells; ++cell)
            updateCell(cell, present[cell]);
        std::unique_lock lock(m_wakeMutex);
        m_wake.wait_for(lock, stop, kWatchInterval, [] { return false; });
    }
}

void DownloadSession::noteBayPresence()
{
    const bool missing = !m_bay.exists();
    if (missing && !m_bayMissing)
        say("The bay " + m_bay.root().string() + " does not exist: no phones until it does", ErrorLine);
    else if (!missing && m_bayMissing)
        say("The bay " + m_bay.root().string() + " is there now", InfoLine);
    m_bayMissing = missing;
}

void DownloadSession::updateCell(int cell, bool present)
{
    Slot& slot = m_slots[cell];
    const bool occupied = slot.thread.joinable();
    if (occupied && !present && !slot.leaving) {
        // Removed: its download gives up; the removal is told once it has said so.
        slot.leaving = true;
        slot.thread.request_stop();
    }
    if (occupied && slot.leaving && slot.finished->load()) {
        slot.thread.join();
        slot = Slot{};
        m_settings.reporter->device(cell, false, "");
        return;
    }
    if (!occupied && present)
        attach(cell);
}

void DownloadSession::attach(int cell)
{
    PhoneJob job;
    job.cell = cell;
    job.phone = m_bay.readPhone(cell);
    job.bay = m_bay;
    job.station = m_station;
    job.options = m_settings.options;
    job.source = m_source;
    job.reporter = m_settings.reporter;
    const std::string usbAddress = job.phone ? job.phone->usbAddressOr(cell) : PhoneProfile{}.usbAddressOr(cell);
    m_settings.reporter->device(cell, true, usbAddress);

    Slot& slot = m_slots[cell];
    slot.finished = std::make_shared<std::atomic<bool>>(false);
    slot.thread = std::jthread([flasher = PhoneFlasher(std::move(job)), finished = slot.finished](
                                   std::stop_token stop) mutable {
        try {
            flasher.run(stop);
        } catch (...) {
            // Nothing may escape a thread of the engine: the host would be ended.
        }
        finished->store(true);
    });
}

void DownloadSession::stopAndJoinAll()
{
    for (Slot& slot : m_slots)
        if (slot.thread.joinable())
            slot.thread.request_stop();
    for (int cell = 0; cell < BayFolder::kCells; ++cell) {
        Slot& slot = m_slots[cell];
        if (!slot.thread.joinable())
            continue;
        slot.thread.join();
        if (slot.leaving)
            m_settings.reporter->device(cell, false, "");
        slot = Slot{};
    }
}

void DownloadSession::say(const std::string& text, int kind) const
{
    m_settings.reporter->message(kNoCell, kind, text);
}

} // namespace marlow
