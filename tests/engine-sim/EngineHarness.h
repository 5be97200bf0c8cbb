#pragma once
#include "EngineEvent.h"
#include "download/EngineInterface.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <optional>
#include <thread>

// Loads libMarlow.so from the installation folder with dlopen, hands it a
// parameter block and collects what the callbacks report. Releases and unloads
// the library when it goes, after DownloadRun has returned on its thread.
class EngineHarness {
public:
    EngineHarness();
    ~EngineHarness();
    EngineHarness(const EngineHarness&) = delete;
    EngineHarness& operator=(const EngineHarness&) = delete;

    bool loaded() const { return m_library != nullptr; }
    QString loadError() const { return m_loadError; }

    // All nine options on, role 3, ready.
    EngineParams& params() { return m_params; }
    void setPaths(const QString& package, const QString& gpsImage);

    int initialise();
    int verify();
    void startRun();
    // DownloadRun on the calling thread, for a call that must return at once.
    int runHere();
    void startCommandLine();
    bool waitForRunToReturn(int timeoutMs = 60000);
    int runResult() const { return m_runResult; }
    void stop();
    void release();

    // Waits until condition holds for the events so far; false on timeout. The
    // condition sees the events it is given and must not call back into the harness.
    bool waitFor(const std::function<bool(const QList<EngineEvent>&)>& condition, int timeoutMs = 60000);
    bool waitForFinalStates(const QList<int>& cells, int timeoutMs = 60000);
    bool waitForProgress(const QList<int>& cells, int timeoutMs = 60000);
    QList<EngineEvent> events() const;

    QList<EngineEvent> eventsOf(int cell, std::optional<EngineEvent::Type> type = std::nullopt) const;
    QStringList messages(int cell, std::optional<int> kind = std::nullopt) const;
    QList<int> states(int cell) const;
    QList<EngineEvent> verifications() const;
    std::optional<EngineEvent> finalVerification() const;

    static int threadCount();

private:
    void joinRunner();

    void* m_library = nullptr;
    QString m_loadError;
    EngineParams m_params{};
    std::u16string m_package;
    std::u16string m_gpsImage;
    InitDownloadObjFunction m_init = nullptr;
    DownloadRunFunction m_run = nullptr;
    ReleaseDownloadObjFunction m_release = nullptr;
    VerifyDataofVKBFunction m_verify = nullptr;
    DownloadStopFunction m_stop = nullptr;
    DownloadCommandlineFunction m_commandLine = nullptr;
    std::thread m_runner;
    std::atomic<bool> m_runReturned{false};
    std::atomic<int> m_runResult{-1};
};

bool isFinalState(const EngineEvent& event);
