#pragma once
#include "download/EngineInterface.h"
#include "engine-sim/EngineSettings.h"

#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <stop_token>

namespace marlow {

class DownloadSession;

// The state behind the six exports. Any entry may be called from any thread;
// release() waits until every call inside the engine has left it, so that the
// library can be unloaded once the host's own threads have returned.
class Engine {
public:
    static Engine& instance();

    int32_t initialise(const EngineParams* params);
    int32_t verify();
    int32_t run();
    int32_t runCommandLine(const EngineParams* params);
    int32_t stop();
    int32_t release();

private:
    class Call;

    std::optional<EngineSettings> settings();
    bool verifyPackage(const EngineSettings& settings, const std::stop_token& stop);
    int32_t runSession(const EngineSettings& settings, bool verifyFirst);
    static std::filesystem::path libraryDirectory();

    std::mutex m_mutex;
    std::condition_variable m_idle;
    int m_calls = 0;
    bool m_releasing = false;
    std::optional<EngineSettings> m_settings;
    DownloadSession* m_session = nullptr;
    std::stop_source m_release;
};

} // namespace marlow
