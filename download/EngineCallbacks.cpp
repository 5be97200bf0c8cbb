#include "download/EngineCallbacks.h"

#include "download/EngineBinding.h"
#include "download/EngineEvent.h"

extern "C" {

void OnEngineMessage(EngineMessageRecord record)
{
    EngineBinding::instance().postToReceiver<EngineMessageEvent>(record);
}

void OnEngineProgress(int32_t cell, int32_t total, int32_t done)
{
    EngineBinding::instance().postToReceiver<EngineProgressEvent>(EngineProgressRecord{cell, total, done});
}

void OnEngineState(int32_t cell, int32_t fileKind, int32_t state)
{
    EngineBinding::instance().postToReceiver<EngineStateEvent>(EngineStateRecord{cell, fileKind, state});
}

void OnEngineDevice(EngineDeviceRecord record)
{
    EngineBinding::instance().postToReceiver<EngineDeviceEvent>(record);
}

void OnEngineVerify(EngineVerifyRecord record)
{
    EngineBinding::instance().postToReceiver<EngineVerifyEvent>(record);
}

} // extern "C"
