#pragma once
#include "download/EngineInterface.h"

#include <cstdint>
#include <mutex>
#include <string_view>

namespace marlow {

// The host's five callbacks. Calls are serialised, so each cell's reports reach
// the host in the order they were made, and a missing callback is skipped.
class Reporter {
public:
    explicit Reporter(const EngineParams& params);

    void message(int cell, int kind, std::string_view text) const;
    void progress(int cell, int32_t total, int32_t done) const;
    void state(int cell, int fileKind, int state) const;
    void device(int cell, bool attached, std::string_view usbAddress) const;
    void verify(int kind, int status, std::string_view text) const;

private:
    EngineVerifyCallback m_onVerify;
    EngineDeviceCallback m_onDevice;
    EngineMessageCallback m_onMessage;
    EngineProgressCallback m_onProgress;
    EngineStateCallback m_onState;
    mutable std::mutex m_mutex;
};

} // namespace marlow
