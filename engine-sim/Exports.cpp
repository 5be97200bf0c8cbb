// The six entry points of libMarlow.so. Nothing thrown inside may reach the host.
#include "download/EngineInterface.h"
#include "engine-sim/Engine.h"

#include <type_traits>

#define MARLOW_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

template <typename Body>
int32_t guarded(Body body) noexcept
{
    try {
        return body();
    } catch (...) {
        return 0;
    }
}

marlow::Engine& engine()
{
    return marlow::Engine::instance();
}

} // namespace

MARLOW_EXPORT int32_t InitDownloadObj(EngineParams* params)
{
    return guarded([&] { return engine().initialise(params); });
}

MARLOW_EXPORT int32_t DownloadRun(int32_t* /*reserved*/)
{
    return guarded([] { return engine().run(); });
}

MARLOW_EXPORT int32_t ReleaseDownloadObj()
{
    return guarded([] { return engine().release(); });
}

MARLOW_EXPORT int32_t VerifyDataofVKB()
{
    return guarded([] { return engine().verify(); });
}

MARLOW_EXPORT int32_t DownloadStop()
{
    return guarded([] { return engine().stop(); });
}

MARLOW_EXPORT int32_t DownloadCommandline(EngineParams* params)
{
    return guarded([&] { return engine().runCommandLine(params); });
}

static_assert(std::is_same_v<decltype(&InitDownloadObj), InitDownloadObjFunction>);
static_assert(std::is_same_v<decltype(&DownloadRun), DownloadRunFunction>);
static_assert(std::is_same_v<decltype(&ReleaseDownloadObj), ReleaseDownloadObjFunction>);
static_assert(std::is_same_v<decltype(&VerifyDataofVKB), VerifyDataofVKBFunction>);
static_assert(std::is_same_v<decltype(&DownloadStop), DownloadStopFunction>);
static_assert(std::is_same_v<decltype(&DownloadCommandline), DownloadCommandlineFunction>);
