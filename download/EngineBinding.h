#pragma once
#include "download/DownloadOptions.h"
#include "download/EngineInterface.h"

#include <QCoreApplication>
#include <QMutex>
#include <QMutexLocker>
#include <QObject>
#include <QString>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>

// The process's one binding to the engine library: the loaded library and its six
// exports, the parameter block handed to the engine, the receiver of the engine's
// records, and the worker threads that are inside (or about to enter) the engine.
class EngineBinding {
public:
    static constexpr const char* kLibraryFileName = "libMarlow.so";
    static constexpr int kDefaultReleaseWaitMilliseconds = 5000;

    // What a session start hands to the engine.
    struct Session {
        QString packagePath;
        QString imagePath;
        int32_t role = 1;
        DownloadOptions options;
    };

    static EngineBinding& instance();

    // Loads the library from the program directory if it is not loaded yet, then
    // refills the parameter block from the session. On failure the operator is
    // shown the fatal message, lastError() tells why and nothing else changes.
    bool BindEngine(const Session& session);
    // Gives the engine its release call, waits a bounded time for the workers to
    // leave it and unloads it; if a worker does not come back the library stays
    // loaded rather than unmapping code that thread still runs.
    void ReleaseEngine();

    bool isLoaded() const { return m_library != nullptr; }
    QString lastError() const { return m_lastError; }
    const EngineParams& params() const { return m_params; }
    void setReleaseWaitLimit(int milliseconds) { m_releaseWaitMilliseconds = milliseconds; }

    // Entry points called on the user-interface thread; only while loaded.
    void InitDownloadObj();
    void DownloadStop();

    // Entry points called by workers after they were admitted by enterUnlessReleasing.
    void VerifyDataofVKB();
    void DownloadRun();
    void DownloadCommandline();

    // Runs body on a detached thread that counts as a worker from now until body
    // returns, so ReleaseEngine waits for it.
    void startWorker(std::function<void()> body);
    // Called by a worker just before it enters the engine: runs prepare under the
    // gate unless the engine is being released or not loaded; true when the
    // worker may enter.
    bool enterUnlessReleasing(const std::function<bool()>& prepare);

    // The object the engine's records are posted to; nullptr for none.
    void setReceiver(QObject* receiver);
    // Unbinds the receiver if it is still the one bound.
    void clearReceiver(QObject* receiver);

    template <typename Event, typename Record>
    void postToReceiver(const Record& record)
    {
        QMutexLocker locker(&m_receiverMutex);
        if (m_receiver)
            QCoreApplication::postEvent(m_receiver, new Event(record));
    }

private:
    struct Exports {
        InitDownloadObjFunction InitDownloadObj = nullptr;
        DownloadRunFunction DownloadRun = nullptr;
        ReleaseDownloadObjFunction ReleaseDownloadObj = nullptr;
        VerifyDataofVKBFunction VerifyDataofVKB = nullptr;
        DownloadStopFunction DownloadStop = nullptr;
        DownloadCommandlineFunction DownloadCommandline = nullptr;
    };

    EngineBinding() = default;

    bool loadLibrary();
    void unloadLibrary();
    void fillParams(const Session& session);
    void workerEnded();
    bool waitForWorkers();

    void* m_library = nullptr;
    Exports m_exports;
    QString m_lastError;
    EngineParams m_params{};
    std::u16string m_packagePath;
    std::u16string m_imagePath;

    QMutex m_receiverMutex;
    QObject* m_receiver = nullptr;

    std::mutex m_workerMutex;
    std::condition_variable m_workersGone;
    int m_workers = 0;
    bool m_releasing = false;
    int m_releaseWaitMilliseconds = kDefaultReleaseWaitMilliseconds;
};
