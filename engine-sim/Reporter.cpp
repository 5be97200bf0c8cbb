#include "engine-sim/Reporter.h"

#include "engine-sim/TextCodec.h"

namespace marlow {

namespace {

// Cut to fit with its NUL, never between the two halves of a surrogate pair.
template <int Units>
void putText(char16_t (&array)[Units], std::string_view text)
{
    std::u16string units = toUtf16(text);
    if (units.size() >= std::size_t(Units)) {
        units.resize(Units - 1);
        if (units.back() >= 0xD800 && units.back() <= 0xDBFF)
            units.pop_back();
    }
    std::copy(units.begin(), units.end(), array);
    array[units.size()] = u'\0';
}

} // namespace

Reporter::Reporter(const EngineParams& params)
    : m_onVerify(params.onVerify), m_onDevice(params.onDevice), m_onMessage(params.onMessage),
      m_onProgress(params.onProgress), m_onState(params.onState)
{
}

void Reporter::message(int cell, int kind, std::string_view text) const
{
    if (!m_onMessage)
        return;
    EngineMessageRecord record{};
    record.cell = cell;
    record.kind = kind;
    putText(record.text, text);
    std::lock_guard lock(m_mutex);
    m_onMessage(record);
}

void Reporter::progress(int cell, int32_t total, int32_t done) const
{
    if (!m_onProgress)
        return;
    std::lock_guard lock(m_mutex);
    m_onProgress(cell, total, done);
}

void Reporter::state(int cell, int fileKind, int state) const
{
    if (!m_onState)
        return;
    std::lock_guard lock(m_mutex);
    m_onState(cell, fileKind, state);
}

void Reporter::device(int cell, bool attached, std::string_view usbAddress) const
{
    if (!m_onDevice)
        return;
    EngineDeviceRecord record{};
    record.cell = cell;
    record.link = attached ? 1 : 0;
    putText(record.usbAddress, usbAddress);
    std::lock_guard lock(m_mutex);
    m_onDevice(record);
}

void Reporter::verify(int kind, int status, std::string_view text) const
{
    if (!m_onVerify)
        return;
    EngineVerifyRecord record{};
    record.kind = kind;
    record.status = status;
    putText(record.text, text);
    std::lock_guard lock(m_mutex);
    m_onVerify(record);
}

} // namespace marlow
