#pragma once
#include "download/EngineInterface.h"

#include <QEvent>

// An engine record on its way to the user-interface thread. The event owns the
// record, so a record is freed with its event even when the receiver is gone
// before the event is handled.
template <typename Record, int TypeNumber>
class EngineEvent final : public QEvent {
public:
    static constexpr QEvent::Type kType = QEvent::Type(TypeNumber);

    explicit EngineEvent(const Record& record)
        : QEvent(kType)
        , m_record(record)
    {
    }

    const Record& record() const { return m_record; }

private:
    Record m_record;
};

using EngineMessageEvent = EngineEvent<EngineMessageRecord, WM_ENGINE_MESSAGE>;
using EngineProgressEvent = EngineEvent<EngineProgressRecord, WM_ENGINE_PROGRESS>;
using EngineStateEvent = EngineEvent<EngineStateRecord, WM_ENGINE_STATE>;
using EngineDeviceEvent = EngineEvent<EngineDeviceRecord, WM_ENGINE_DEVICE>;
using EngineVerifyEvent = EngineEvent<EngineVerifyRecord, WM_ENGINE_VERIFY>;
