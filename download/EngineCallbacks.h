#pragma once
#include "download/EngineInterface.h"

// The five functions the engine calls, on any thread of its own. Each only copies
// the report into a record and posts it to the bound receiver; with no receiver
// bound it does nothing and allocates nothing.
extern "C" {
void OnEngineMessage(EngineMessageRecord record);
void OnEngineProgress(int32_t cell, int32_t total, int32_t done);
void OnEngineState(int32_t cell, int32_t fileKind, int32_t state);
void OnEngineDevice(EngineDeviceRecord record);
void OnEngineVerify(EngineVerifyRecord record);
}
