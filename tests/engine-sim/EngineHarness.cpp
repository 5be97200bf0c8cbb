#include "EngineHarness.h"

#include "download/EngineText.h"

#include <QDir>

#include <algorithm>
#include <condition_variable>
#include <dlfcn.h>
#include <mutex>

namespace {

// Callbacks carry no context, so the reports of the one loaded engine go here.
struct Collector {
    std::mutex mutex;
    std::condition_variable changed;
    QList<EngineEvent> events;

    void add(EngineEvent event)
    {
        std::lock_guard lock(mutex);
        events.append(std::move(event));
        changed.notify_all();
    }
};

Collector& collector()
{
    static Collector instance;
    return instance;
}

void onVerify(EngineVerifyRecord record)
{
    EngineEvent event;
    event.type = EngineEvent::Verify;
    event.kind = record.kind;
    event.status = record.status;
    event.text = engineText(record.text);
    collector().add(event);
}

void onDevice(EngineDeviceRecord record)
{
    EngineEvent event;
    event.type = EngineEvent::Device;
    event.cell = record.cell;
    event.link = record.link;
    event.text = engineText(record.usbAddress);
    collector().add(event);
}

void onMessage(EngineMessageRecord record)
{
    EngineEvent event;
    event.type = EngineEvent::Message;
    event.cell = record.cell;
    event.kind = record.kind;
    event.text = engineText(record.text);
    collector().add(event);
}

void onProgress(int32_t cell, int32_t total, int32_t done)
{
    EngineEvent event;
    event.type = EngineEvent::Progress;
    event.cell = cell;
    event.total = total;
    event.done = done;
    collector().add(event);
}

void onState(int32_t cell, int32_t fileKind, int32_t state)
{
    EngineEvent event;
    event.type = EngineEvent::State;
    event.cell = cell;
    event.kind = fileKind;
    event.state = state;
    collector().add(event);
}

// Wakes the waiters: the return of DownloadRun is no callback.
void noteRunReturned()
{
    EngineEvent event;
    event.cell = -2;
    event.text = QStringLiteral("run returned");
    collector().add(event);
}

template <typename Function>
Function resolve(void* library, const char* name, QString& error)
{
    void* symbol = dlsym(library, name);
    if (!symbol && error.isEmpty())
        error = QStringLiteral("libMarlow.so lacks %1").arg(QLatin1String(name));
    return reinterpret_cast<Function>(symbol);
}

} // namespace

bool isFinalState(const EngineEvent& event)
{
    return event.type == EngineEvent::State && (event.state == 2 || event.state == 3);
}

EngineHarness::EngineHarness()
{
    {
        std::lock_guard lock(collector().mutex);
        collector().events.clear();
    }
    m_library = dlopen(ZARV_PROGRAM_DIR "libMarlow.so", RTLD_NOW | RTLD_LOCAL);
    if (!m_library) {
        m_loadError = QString::fromLocal8Bit(dlerror());
        return;
    }
    m_init = resolve<InitDownloadObjFunction>(m_library, "InitDownloadObj", m_loadError);
    m_run = resolve<DownloadRunFunction>(m_library, "DownloadRun", m_loadError);
    m_release = resolve<ReleaseDownloadObjFunction>(m_library, "ReleaseDownloadObj", m_loadError);
    m_verify = resolve<VerifyDataofVKBFunction>(m_library, "VerifyDataofVKB", m_loadError);
    m_stop = resolve<DownloadStopFunction>(m_library, "DownloadStop", m_loadError);
    m_commandLine = resolve<DownloadCommandlineFunction>(m_library, "DownloadCommandline", m_loadError);
    if (!m_loadError.isEmpty()) {
        dlclose(m_library);
        m_library = nullptr;
        return;
    }
    m_params.role = 3;
    m_params.ready = 1;
    for (int32_t* option : {&m_params.DownLoadVKB, &m_params.DownloadRES, &m_params.CKPhoneName, &m_params.CKeMMC,
                            &m_params.CKFuse, &m_params.CKInstrument, &m_params.DownLK, &m_params.DownSystem,
                            &m_params.DownUserdata})
        *option = 1;
    m_params.onVerify = onVerify;
    m_params.onDevice = onDevice;
    m_params.onMessage = onMessage;
    m_params.onProgress = onProgress;
    m_params.onState = onState;
    setPaths({}, {});
}

EngineHarness::~EngineHarness()
{
    if (!m_library)
        return;
    if (m_runner.joinable())
        m_stop();
    m_release();
    joinRunner();
    dlclose(m_library);
}

void EngineHarness::setPaths(const QString& package, const QString& gpsImage)
{
    m_package = package.toStdU16String();
    m_gpsImage = gpsImage.toStdU16String();
    m_params.packagePath = m_package.c_str();
    m_params.imagePath = m_gpsImage.c_str();
}

int EngineHarness::initialise() { return m_init(&m_params); }
int EngineHarness::verify() { return m_verify(); }
void EngineHarness::stop() { m_stop(); }
void EngineHarness::release() { m_release(); }

void EngineHarness::startRun()
{
    m_runReturned = false;
    m_runner = std::thread([this] {
        int32_t reserved = 0;
        m_runResult = m_run(&reserved);
        m_runReturned = true;
        noteRunReturned();
    });
}

int EngineHarness::runHere()
{
    int32_t reserved = 0;
    return m_run(&reserved);
}

void EngineHarness::startCommandLine()
{
    m_runReturned = false;
    m_runner = std::thread([this] {
        m_runResult = m_commandLine(&m_params);
        m_runReturned = true;
        noteRunReturned();
    });
}

bool EngineHarness::waitForRunToReturn(int timeoutMs)
{
    const bool returned = waitFor([this](const QList<EngineEvent>&) { return m_runReturned.load(); }, timeoutMs);
    if (returned)
        joinRunner();
    return returned;
}

void EngineHarness::joinRunner()
{
    if (m_runner.joinable())
        m_runner.join();
}

bool EngineHarness::waitFor(const std::function<bool(const QList<EngineEvent>&)>& condition, int timeoutMs)
{
    std::unique_lock lock(collector().mutex);
    return collector().changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                        [&] { return condition(collector().events); });
}

bool EngineHarness::waitForFinalStates(const QList<int>& cells, int timeoutMs)
{
    return waitFor(
        [&](const QList<EngineEvent>& events) {
            for (int cell : cells)
                if (std::none_of(events.begin(), events.end(),
                                 [cell](const EngineEvent& e) { return e.cell == cell && isFinalState(e); }))
                    return false;
            return true;
        },
        timeoutMs);
}

bool EngineHarness::waitForProgress(const QList<int>& cells, int timeoutMs)
{
    return waitFor(
        [&](const QList<EngineEvent>& events) {
            for (int cell : cells)
                if (std::none_of(events.begin(), events.end(), [cell](const EngineEvent& e) {
                        return e.cell == cell && e.type == EngineEvent::Progress && e.done > 0;
                    }))
                    return false;
            return true;
        },
        timeoutMs);
}

QList<EngineEvent> EngineHarness::events() const
{
    std::lock_guard lock(collector().mutex);
    return collector().events;
}

QList<EngineEvent> EngineHarness::eventsOf(int cell, std::optional<EngineEvent::Type> type) const
{
    QList<EngineEvent> selected;
    for (const EngineEvent& event : events())
        if (event.cell == cell && (!type || event.type == *type) && event.type != EngineEvent::Verify)
            selected.append(event);
    return selected;
}

QStringList EngineHarness::messages(int cell, std::optional<int> kind) const
{
    QStringList texts;
    for (const EngineEvent& event : eventsOf(cell, EngineEvent::Message))
        if (!kind || event.kind == *kind)
            texts.append(event.text);
    return texts;
}

QList<int> EngineHarness::states(int cell) const
{
    QList<int> states;
    for (const EngineEvent& event : eventsOf(cell, EngineEvent::State))
        states.append(event.state);
    return states;
}

QList<EngineEvent> EngineHarness::verifications() const
{
    QList<EngineEvent> selected;
    for (const EngineEvent& event : events())
        if (event.type == EngineEvent::Verify)
            selected.append(event);
    return selected;
}

std::optional<EngineEvent> EngineHarness::finalVerification() const
{
    for (const EngineEvent& event : verifications())
        if (event.kind == 2 || event.kind == 3)
            return event;
    return std::nullopt;
}

int EngineHarness::threadCount()
{
    return int(QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}
