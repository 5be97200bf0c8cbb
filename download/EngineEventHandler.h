#pragma once
#include "download/EngineInterface.h"

#include <QObject>

class DownloadController;

// Receives the engine's records on the user-interface thread, one at a time in
// the order the engine posted them, and turns each into per-cell state and
// window updates through the controller. A record naming a cell outside 0 to 7
// (other than -1 on a message) is ignored.
class EngineEventHandler final : public QObject {
    Q_OBJECT

public:
    explicit EngineEventHandler(DownloadController& controller);
    ~EngineEventHandler() override;

    bool event(QEvent* event) override;

private:
    void HandleMessage(const EngineMessageRecord& record);
    void HandleProgress(const EngineProgressRecord& record);
    void HandleState(const EngineStateRecord& record);
    void HandleDevice(const EngineDeviceRecord& record);
    void HandleVerify(const EngineVerifyRecord& record);
    void SendResultRecordLines(int cell, bool passed);

    DownloadController& m_controller;
};
