#pragma once
// The test engine's own exports, beside the six of a real engine: tests read what
// it was called with and make it report through the program's callbacks.

#include "download/EngineInterface.h"

constexpr int kTestEnginePathUnits = 512;

// A parameter block as the engine saw it at one call, with the paths copied out.
struct TestEngineParamsSeen {
    char call[32];
    EngineParams block;
    char16_t packagePath[kTestEnginePathUnits];
    char16_t imagePath[kTestEnginePathUnits];
};

extern "C" {
// Every call of the six exports in order: "InitDownloadObj", "VerifyDataofVKB",
// "DownloadRun 0" (with the value its argument held), "DownloadStop",
// "ReleaseDownloadObj", "DownloadCommandline".
int TestEngineCallCount();
int TestEngineCallAt(int index, char* name, int size);
// The block seen by InitDownloadObj, DownloadCommandline and DownloadRun (through
// the address InitDownloadObj was given).
int TestEngineParamsCount();
int TestEngineParamsAt(int index, TestEngineParamsSeen* seen);
// Threads now inside VerifyDataofVKB, DownloadRun or DownloadCommandline.
int TestEngineThreadsInside();
// While held, DownloadRun and DownloadCommandline ignore DownloadStop and
// ReleaseDownloadObj; TestEngineLetGo returns them all.
void TestEngineHoldInRun(int hold);
void TestEngineLetGo();
// Each calls the program's callback from a thread of the engine's own and returns
// when the callback has returned.
void TestEngineFireMessage(const EngineMessageRecord* record);
void TestEngineFireProgress(int32_t cell, int32_t total, int32_t done);
void TestEngineFireState(int32_t cell, int32_t fileKind, int32_t state);
void TestEngineFireDevice(const EngineDeviceRecord* record);
void TestEngineFireVerify(const EngineVerifyRecord* record);
}
