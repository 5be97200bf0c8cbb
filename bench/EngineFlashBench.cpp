// Flashes eight virtual phones unthrottled from one package through libMarlow.so
// and compares the bytes per second written with what cp achieves for the same
// total on the same disk, in the same run.
//   bench_engine_flash [--mib N] [--rounds N] [FOLDER]
// FOLDER (default: a new folder in the current directory) is emptied afterwards.
#include "download/EngineInterface.h"
#include "engine-sim/BayFolder.h"
#include "engine-sim/PackageWriter.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kCells = 8;

std::atomic<int> g_finished{0};
std::atomic<int> g_failed{0};
std::atomic<int> g_progressed{0};

void onVerify(EngineVerifyRecord) {}
void onDevice(EngineDeviceRecord) {}
void onMessage(EngineMessageRecord) {}
void onProgress(int32_t, int32_t, int32_t done)
{
    if (done > 0)
        ++g_progressed;
}
void onState(int32_t, int32_t, int32_t state)
{
    if (state == 2 || state == 3)
        ++g_finished;
    if (state == 3)
        ++g_failed;
}

struct Engine {
    void* library = nullptr;
    InitDownloadObjFunction init = nullptr;
    DownloadRunFunction run = nullptr;
    ReleaseDownloadObjFunction release = nullptr;
    VerifyDataofVKBFunction verify = nullptr;
    DownloadStopFunction stop = nullptr;
};

[[noreturn]] void fail(const std::string& message)
{
    std::fprintf(stderr, "bench_engine_flash: %s\n", message.c_str());
    std::exit(1);
}

Engine loadEngine()
{
    const fs::path library = fs::read_symlink("/proc/self/exe").parent_path() / "libMarlow.so";
    Engine engine;
    engine.library = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!engine.library)
        fail(dlerror());
    engine.init = reinterpret_cast<InitDownloadObjFunction>(dlsym(engine.library, "InitDownloadObj"));
    engine.run = reinterpret_cast<DownloadRunFunction>(dlsym(engine.library, "DownloadRun"));
    engine.release = reinterpret_cast<ReleaseDownloadObjFunction>(dlsym(engine.library, "ReleaseDownloadObj"));
    engine.verify = reinterpret_cast<VerifyDataofVKBFunction>(dlsym(engine.library, "VerifyDataofVKB"));
    engine.stop = reinterpret_cast<DownloadStopFunction>(dlsym(engine.library, "DownloadStop"));
    if (!engine.init || !engine.run || !engine.release || !engine.verify || !engine.stop)
        fail("libMarlow.so lacks an export");
    return engine;
}

std::vector<unsigned char> imageBytes(std::size_t size, uint64_t seed)
{
    std::vector<unsigned char> bytes(size);
    uint64_t state = seed * 0x9E3779B97F4A7C15ull + 1;
    for (std::size_t i = 0; i + 8 <= size; i += 8) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        std::memcpy(&bytes[i], &state, 8);
    }
    return bytes;
}

uint64_t writePackage(const fs::path& path, std::size_t mebibytes)
{
    using marlow::format::Partition;
    const std::size_t mib = 1 << 20;
    const struct {
        const char* name;
        Partition partition;
        std::size_t sixteenths;
    } parts[] = {{"preloader.bin", Partition::Preloader, 1}, {"lk.bin", Partition::Lk, 1},
                 {"boot.img", Partition::Boot, 2},           {"system.img", Partition::System, 8},
                 {"userdata.img", Partition::Userdata, 4}};
    marlow::PackageWriter writer("BENCH1", "V1.0_BENCH");
    uint64_t contents = 0;
    uint64_t seed = 1;
    for (const auto& part : parts) {
        const std::size_t size = mebibytes * mib * part.sixteenths / 16;
        writer.addBytes(part.name, part.partition, imageBytes(size, seed++));
        contents += size;
    }
    if (const marlow::Status written = writer.write(path); !written)
        fail(written.error());
    return contents;
}

// Seconds from DownloadRun until every phone has finished; phones stay attached.
double flashOnce(const Engine& engine)
{
    g_finished = 0;
    g_failed = 0;
    const auto start = Clock::now();
    std::thread runner([&] {
        int32_t reserved = 0;
        engine.run(&reserved);
    });
    while (g_finished < kCells)
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    engine.stop();
    runner.join();
    if (g_failed > 0)
        fail("a phone failed");
    return seconds;
}

// Seconds for eight cp processes, one per cell, to copy the package side by side.
double copyOnce(const fs::path& package, const fs::path& folder)
{
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::vector<pid_t> children;
    const auto start = Clock::now();
    for (int cell = 0; cell < kCells; ++cell) {
        const std::string target = (folder / ("copy" + std::to_string(cell))).string();
        const std::string source = package.string();
        char* arguments[] = {const_cast<char*>("cp"), const_cast<char*>(source.c_str()),
                             const_cast<char*>(target.c_str()), nullptr};
        pid_t child = 0;
        if (posix_spawnp(&child, "cp", nullptr, nullptr, arguments, environ) != 0)
            fail("cannot start cp");
        children.push_back(child);
    }
    for (const pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            fail("cp failed");
    }
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Milliseconds from DownloadStop to the return of DownloadRun while all phones write slowly.
double stopLatency(const Engine& engine, const marlow::BayFolder& bay)
{
    for (int cell = 0; cell < kCells; ++cell) {
        marlow::PhoneProfile phone = *bay.readPhone(cell);
        phone.bytesPerSecond = 1 << 20;
        bay.detach(cell);
        bay.attach(cell, phone);
    }
    g_progressed = 0;
    std::atomic<bool> returned{false};
    Clock::time_point returnedAt;
    std::thread runner([&] {
        int32_t reserved = 0;
        engine.run(&reserved);
        returnedAt = Clock::now();
        returned = true;
    });
    while (g_progressed < 2 * kCells)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const auto stoppedAt = Clock::now();
    engine.stop();
    runner.join();
    return std::chrono::duration<double, std::milli>(returnedAt - stoppedAt).count();
}

double rate(double bytes, double seconds)
{
    return bytes / seconds;
}

} // namespace

int main(int argc, char** argv)
{
    std::size_t mebibytes = 64;
    int rounds = 3;
    fs::path folder;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (word == "--mib" && i + 1 < argc)
            mebibytes = std::size_t(std::max(1, std::atoi(argv[++i])));
        else if (word == "--rounds" && i + 1 < argc)
            rounds = std::max(1, std::atoi(argv[++i]));
        else
            folder = word;
    }
    if (folder.empty())
        folder = fs::current_path() / ("engine-flash-bench." + std::to_string(getpid()));
    fs::create_directories(folder);

    const fs::path package = folder / "bench.vkb";
    const uint64_t contents = writePackage(package, mebibytes);
    const marlow::BayFolder bay(folder / "bay");
    for (int cell = 0; cell < kCells; ++cell) {
        marlow::PhoneProfile phone;
        phone.model = "BENCH1";
        phone.serial = "B" + std::to_string(cell);
        phone.emmcCid = marlow::PhoneProfile::cidFor(phone.serial);
        if (marlow::Status attached = bay.attach(cell, phone); !attached)
            fail(attached.error());
    }
    setenv("MARLOW_BAY", bay.root().c_str(), 1);

    const Engine engine = loadEngine();
    const std::u16string packagePath = package.u16string();
    const std::u16string noImage;
    EngineParams params{};
    params.packagePath = packagePath.c_str();
    params.imagePath = noImage.c_str();
    params.role = 3;
    params.ready = 1;
    params.DownLoadVKB = params.CKPhoneName = params.CKeMMC = params.CKFuse = params.CKInstrument = 1;
    params.DownLK = params.DownSystem = params.DownUserdata = 1;
    params.onVerify = onVerify;
    params.onDevice = onDevice;
    params.onMessage = onMessage;
    params.onProgress = onProgress;
    params.onState = onState;
    engine.init(&params);

    const auto verifyStart = Clock::now();
    engine.verify();
    const double verifySeconds = std::chrono::duration<double>(Clock::now() - verifyStart).count();

    // Best of the rounds for both, taken in turns, so a busy moment on a shared
    // machine costs neither side more than the other.
    double bestFlash = 1e300;
    double bestCopy = 1e300;
    for (int round = 0; round < rounds; ++round) {
        bestFlash = std::min(bestFlash, flashOnce(engine));
        bestCopy = std::min(bestCopy, copyOnce(package, folder / "cp"));
    }
    const double latency = stopLatency(engine, bay);
    engine.release();
    dlclose(engine.library);

    const double written = double(contents) * kCells;
    const double copied = double(fs::file_size(package)) * kCells;
    const double engineRate = rate(written, bestFlash);
    const double copyRate = rate(copied, bestCopy);
    std::printf("package: %.1f MiB of images; %d phones; best of %d rounds; folder %s\n", double(contents) / (1 << 20),
                kCells, rounds, folder.c_str());
    std::printf("verify:  %.1f MiB/s\n", rate(double(fs::file_size(package)), verifySeconds) / (1 << 20));
    std::printf("engine:  %.1f MiB/s written (%.3f s for %.1f MiB, read back and checked)\n", engineRate / (1 << 20),
                bestFlash, written / (1 << 20));
    std::printf("cp:      %.1f MiB/s (%.3f s for %.1f MiB, eight cp at once)\n", copyRate / (1 << 20), bestCopy,
                copied / (1 << 20));
    std::printf("ratio:   %.2f (engine / cp)\n", engineRate / copyRate);
    std::printf("stop:    DownloadRun returned %.1f ms after DownloadStop, eight phones writing\n", latency);
    fs::remove_all(folder);
    return 0;
}
