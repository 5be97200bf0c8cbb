#include "engine-sim/Engine.h"

#include "engine-sim/DownloadSession.h"
#include "engine-sim/EngineCodes.h"
#include "engine-sim/PackageVerifier.h"

#include <dlfcn.h>

namespace marlow {

// Counts a call in while the engine is not being released, and out again.
class Engine::Call {
public:
    explicit Call(Engine& engine) : m_engine(engine)
    {
        std::lock_guard lock(engine.m_mutex);
        m_admitted = !engine.m_releasing;
        if (m_admitted)
            ++engine.m_calls;
    }
    ~Call()
    {
        if (!m_admitted)
            return;
        std::lock_guard lock(m_engine.m_mutex);
        if (--m_engine.m_calls == 0)
            m_engine.m_idle.notify_all();
    }
    Call(const Call&) = delete;
    Call& operator=(const Call&) = delete;
    bool admitted() const { return m_admitted; }

private:
    Engine& m_engine;
    bool m_admitted = false;
};

Engine& Engine::instance()
{
    static Engine engine;
    return engine;
}

int32_t Engine::initialise(const EngineParams* params)
{
    const Call call(*this);
    if (!call.admitted() || !params)
        return 0;
    EngineSettings settings = EngineSettings::from(*params);
    std::lock_guard lock(m_mutex);
    m_settings = std::move(settings);
    return 1;
}

std::optional<EngineSettings> Engine::settings()
{
    std::lock_guard lock(m_mutex);
    return m_settings;
}

int32_t Engine::verify()
{
    const Call call(*this);
    if (!call.admitted())
        return 0;
    const std::optional<EngineSettings> settings = this->settings();
    if (!settings)
        return 0;
    std::stop_token released;
    {
        std::lock_guard lock(m_mutex);
        released = m_release.get_token();
    }
    return verifyPackage(*settings, released) ? 1 : 0;
}

bool Engine::verifyPackage(const EngineSettings& settings, const std::stop_token& stop)
{
    const Reporter& reporter = *settings.reporter;
    if (!settings.ready) {
        reporter.verify(VerifyFailed, 1, "the parameter block is not ready");
        return false;
    }
    const PackageVerifier verifier([&](int kind, const std::string& text) { reporter.verify(kind, 0, text); },
                                   [&] { return stop.stop_requested(); });
    const Result<std::string> model = verifier.verify(settings.package, settings.gpsImage);
    if (!model) {
        reporter.verify(VerifyFailed, 1, model.error() == "cancelled" ? "verification cancelled" : model.error());
        return false;
    }
    reporter.verify(VerifyPassed, 0, *model);
    return true;
}

int32_t Engine::run()
{
    const Call call(*this);
    const std::optional<EngineSettings> settings = this->settings();
    if (!call.admitted() || !settings)
        return 0;
    return runSession(*settings, false);
}

int32_t Engine::runCommandLine(const EngineParams* params)
{
    const Call call(*this);
    if (!call.admitted() || !params)
        return 0;
    EngineSettings settings = EngineSettings::from(*params);
    {
        std::lock_guard lock(m_mutex);
        m_settings = settings;
    }
    return runSession(settings, true);
}

int32_t Engine::runSession(const EngineSettings& settings, bool verifyFirst)
{
    if (!settings.ready) {
        settings.reporter->message(kNoCell, ErrorLine, "Download mode refused: the parameter block is not ready");
        return 0;
    }
    DownloadSession session(settings, BayFolder::located(libraryDirectory()));
    {
        std::lock_guard lock(m_mutex);
        if (m_session) {
            settings.reporter->message(kNoCell, ErrorLine, "Download mode is already on");
            return 0;
        }
        m_session = &session;
        if (m_releasing)
            session.stop();
    }
    const bool verified = !verifyFirst || verifyPackage(settings, session.stopToken());
    if (verified)
        session.run();
    std::lock_guard lock(m_mutex);
    m_session = nullptr;
    return verified ? 1 : 0;
}

int32_t Engine::stop()
{
    std::lock_guard lock(m_mutex);
    if (m_session)
        m_session->stop();
    return 1;
}

int32_t Engine::release()
{
    std::unique_lock lock(m_mutex);
    m_releasing = true;
    if (m_session)
        m_session->stop();
    m_release.request_stop();
    m_idle.wait(lock, [this] { return m_calls == 0; });
    m_settings.reset();
    m_release = std::stop_source();
    m_releasing = false;
    return 1;
}

std::filesystem::path Engine::libraryDirectory()
{
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&Engine::libraryDirectory), &info) == 0 || !info.dli_fname)
        return std::filesystem::current_path();
    std::error_code error;
    const std::filesystem::path library = std::filesystem::absolute(info.dli_fname, error);
    return error ? std::filesystem::current_path() : library.parent_path();
}

} // namespace marlow
