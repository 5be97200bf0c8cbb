// A stand-in engine that records every call and stays inside DownloadRun (or
// DownloadCommandline) until it is stopped or released, as a real engine does
// for the whole of download mode.

#include "tests/download/TestEngineControl.h"

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

std::mutex mutex;
std::condition_variable changed;
std::vector<std::string> calls;
std::vector<TestEngineParamsSeen> paramsSeen;
EngineParams* lastParams = nullptr;
int threadsInside = 0;
int stopGeneration = 0;
bool holding = false;

template <int Units>
void copyPath(char16_t (&target)[Units], const char16_t* source)
{
    int length = 0;
    while (source && source[length] != u'\0' && length < Units - 1)
        ++length;
    std::copy(source, source + length, target);
    target[length] = u'\0';
}

// Called with the mutex held.
void record(const std::string& call, const EngineParams* params)
{
    calls.push_back(call);
    if (!params)
        return;
    TestEngineParamsSeen seen{};
    std::strncpy(seen.call, call.c_str(), sizeof seen.call - 1);
    seen.block = *params;
    copyPath(seen.packagePath, params->packagePath);
    copyPath(seen.imagePath, params->imagePath);
    paramsSeen.push_back(seen);
}

void stayUntilStopped()
{
    std::unique_lock<std::mutex> lock(mutex);
    const int generation = stopGeneration;
    ++threadsInside;
    changed.notify_all();
    changed.wait(lock, [generation] { return !holding && stopGeneration != generation; });
    --threadsInside;
    changed.notify_all();
}

void stop(const char* call)
{
    std::lock_guard<std::mutex> lock(mutex);
    record(call, nullptr);
    ++stopGeneration;
    changed.notify_all();
}

template <typename Fire>
void fireFromOwnThread(Fire fire)
{
    EngineParams params;
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (!lastParams)
            return;
        params = *lastParams;
    }
    std::thread(fire, params).join();
}

} // namespace

extern "C" {

int32_t InitDownloadObj(EngineParams* params)
{
    std::lock_guard<std::mutex> lock(mutex);
    lastParams = params;
    record("InitDownloadObj", params);
    return 1;
}

int32_t VerifyDataofVKB()
{
    std::lock_guard<std::mutex> lock(mutex);
    record("VerifyDataofVKB", nullptr);
    return 1;
}

int32_t DownloadRun(int32_t* reserved)
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        char call[32];
        std::snprintf(call, sizeof call, "DownloadRun %d", reserved ? *reserved : -1);
        record(call, lastParams);
    }
    stayUntilStopped();
    return 1;
}

int32_t DownloadCommandline(EngineParams* params)
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        lastParams = params;
        record("DownloadCommandline", params);
    }
    stayUntilStopped();
    return 1;
}

#ifndef TEST_ENGINE_WITHOUT_DOWNLOAD_STOP
int32_t DownloadStop()
{
    stop("DownloadStop");
    return 1;
}
#endif

int32_t ReleaseDownloadObj()
{
    stop("ReleaseDownloadObj");
    return 1;
}

int TestEngineCallCount()
{
    std::lock_guard<std::mutex> lock(mutex);
    return int(calls.size());
}

int TestEngineCallAt(int index, char* name, int size)
{
    std::lock_guard<std::mutex> lock(mutex);
    if (index < 0 || index >= int(calls.size()) || size <= 0)
        return 0;
    std::strncpy(name, calls[index].c_str(), size - 1);
    name[size - 1] = '\0';
    return 1;
}

int TestEngineParamsCount()
{
    std::lock_guard<std::mutex> lock(mutex);
    return int(paramsSeen.size());
}

int TestEngineParamsAt(int index, TestEngineParamsSeen* seen)
{
    std::lock_guard<std::mutex> lock(mutex);
    if (index < 0 || index >= int(paramsSeen.size()))
        return 0;
    *seen = paramsSeen[index];
    return 1;
}

int TestEngineThreadsInside()
{
    std::lock_guard<std::mutex> lock(mutex);
    return threadsInside;
}

void TestEngineHoldInRun(int hold)
{
    std::lock_guard<std::mutex> lock(mutex);
    holding = hold != 0;
    changed.notify_all();
}

void TestEngineLetGo()
{
    std::lock_guard<std::mutex> lock(mutex);
    holding = false;
    ++stopGeneration;
    changed.notify_all();
}

void TestEngineFireMessage(const EngineMessageRecord* record)
{
    fireFromOwnThread([record = *record](const EngineParams& params) { params.onMessage(record); });
}

void TestEngineFireProgress(int32_t cell, int32_t total, int32_t done)
{
    fireFromOwnThread([=](const EngineParams& params) { params.onProgress(cell, total, done); });
}

void TestEngineFireState(int32_t cell, int32_t fileKind, int32_t state)
{
    fireFromOwnThread([=](const EngineParams& params) { params.onState(cell, fileKind, state); });
}

void TestEngineFireDevice(const EngineDeviceRecord* record)
{
    fireFromOwnThread([record = *record](const EngineParams& params) { params.onDevice(record); });
}

void TestEngineFireVerify(const EngineVerifyRecord* record)
{
    fireFromOwnThread([record = *record](const EngineParams& params) { params.onVerify(record); });
}

} // extern "C"
