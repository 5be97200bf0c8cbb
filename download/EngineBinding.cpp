#include "download/EngineBinding.h"

#include "download/EngineCallbacks.h"
#include "platform/MessageBox.h"
#include "platform/ProgramDirectory.h"

#include <QDebug>
#include <QFile>

#include <chrono>
#include <thread>

#include <dlfcn.h>

namespace {

template <typename Function>
bool resolveExport(void* library, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

} // namespace

EngineBinding& EngineBinding::instance()
{
    static EngineBinding binding;
    return binding;
}

bool EngineBinding::BindEngine(const Session& session)
{
    if (!m_library && !loadLibrary()) {
        qWarning().noquote() << m_lastError;
        Platform::messageBox(QStringLiteral("Fatal error: load download library failed!"));
        return false;
    }
    {
        std::lock_guard<std::mutex> lock(m_workerMutex);
        m_releasing = false;
    }
    fillParams(session);
    return true;
}

// Only the program directory is searched: a library planted in whatever folder the
// program was started from must never be run.
bool EngineBinding::loadLibrary()
{
    const QString path = Platform::programDirectory() + QLatin1String(kLibraryFileName);
    void* library = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        m_lastError = QStringLiteral("The engine library could not be loaded: %1").arg(QString::fromLocal8Bit(dlerror()));
        return false;
    }
    Exports exports;
    const std::pair<const char*, bool> resolved[] = {
        {"InitDownloadObj", resolveExport(library, "InitDownloadObj", exports.InitDownloadObj)},
        {"DownloadRun", resolveExport(library, "DownloadRun", exports.DownloadRun)},
        {"ReleaseDownloadObj", resolveExport(library, "ReleaseDownloadObj", exports.ReleaseDownloadObj)},
        {"VerifyDataofVKB", resolveExport(library, "VerifyDataofVKB", exports.VerifyDataofVKB)},
        {"DownloadStop", resolveExport(library, "DownloadStop", exports.DownloadStop)},
        {"DownloadCommandline", resolveExport(library, "DownloadCommandline", exports.DownloadCommandline)},
    };
    for (const auto& [name, found] : resolved) {
        if (!found) {
            dlclose(library);
            m_lastError = QStringLiteral("The engine library %1 does not export %2").arg(path, QLatin1String(name));
            return false;
        }
    }
    m_library = library;
    m_exports = exports;
    m_lastError.clear();
    return true;
}

void EngineBinding::fillParams(const Session& session)
{
    m_packagePath = session.packagePath.toStdU16String();
    m_imagePath = session.imagePath.toStdU16String();

    m_params = EngineParams{};
    m_params.onVerify = &OnEngineVerify;
    m_params.onDevice = &OnEngineDevice;
    m_params.onMessage = &OnEngineMessage;
    m_params.onProgress = &OnEngineProgress;
    m_params.onState = &OnEngineState;
    m_params.role = session.role;
    m_params.packagePath = m_packagePath.c_str();
    m_params.imagePath = m_imagePath.c_str();
    const DownloadOptions& options = session.options;
    m_params.DownLoadVKB = options.DownLoadVKB;
    m_params.DownloadRES = options.DownloadRES;
    m_params.CKPhoneName = options.CKPhoneName;
    m_params.CKeMMC = session.role == 4 ? 0 : options.CKeMMC;
    m_params.CKFuse = options.CKFuse;
    m_params.CKInstrument = options.CKInstrument;
    m_params.DownLK = options.DownLK;
    m_params.DownSystem = options.DownSystem;
    m_params.DownUserdata = options.DownUserdata;
    m_params.ready = 1;
}

void EngineBinding::ReleaseEngine()
{
    {
        std::lock_guard<std::mutex> lock(m_workerMutex);
        m_releasing = true;
    }
    if (m_library)
        m_exports.ReleaseDownloadObj();
    if (!waitForWorkers()) {
        qWarning("The engine library stays loaded: a worker has not come back from it");
        return;
    }
    if (m_library)
        unloadLibrary();
}

void EngineBinding::unloadLibrary()
{
    dlclose(m_library);
    m_library = nullptr;
    m_exports = Exports();
}

bool EngineBinding::waitForWorkers()
{
    std::unique_lock<std::mutex> lock(m_workerMutex);
    return m_workersGone.wait_for(lock, std::chrono::milliseconds(m_releaseWaitMilliseconds), [this] { return m_workers == 0; });
}

void EngineBinding::InitDownloadObj()
{
    if (m_library)
        m_exports.InitDownloadObj(&m_params);
}

void EngineBinding::DownloadStop()
{
    if (m_library)
        m_exports.DownloadStop();
}

void EngineBinding::VerifyDataofVKB()
{
    m_exports.VerifyDataofVKB();
}

void EngineBinding::DownloadRun()
{
    int32_t reserved = 0;
    m_exports.DownloadRun(&reserved);
}

void EngineBinding::DownloadCommandline()
{
    m_exports.DownloadCommandline(&m_params);
}

void EngineBinding::startWorker(std::function<void()> body)
{
    {
        std::lock_guard<std::mutex> lock(m_workerMutex);
        ++m_workers;
    }
    std::thread([this, body = std::move(body)] {
        body();
        workerEnded();
    }).detach();
}

void EngineBinding::workerEnded()
{
    std::lock_guard<std::mutex> lock(m_workerMutex);
    --m_workers;
    m_workersGone.notify_all();
}

bool EngineBinding::enterUnlessReleasing(const std::function<bool()>& prepare)
{
    std::lock_guard<std::mutex> lock(m_workerMutex);
    return !m_releasing && m_library && (!prepare || prepare());
}

void EngineBinding::setReceiver(QObject* receiver)
{
    QMutexLocker locker(&m_receiverMutex);
    m_receiver = receiver;
}

void EngineBinding::clearReceiver(QObject* receiver)
{
    QMutexLocker locker(&m_receiverMutex);
    if (m_receiver == receiver)
        m_receiver = nullptr;
}
