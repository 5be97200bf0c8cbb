#include "download/EngineEventHandler.h"

#include "download/DownloadController.h"
#include "download/EngineBinding.h"
#include "download/EngineEvent.h"
#include "download/EngineText.h"
#include "download/LineColour.h"
#include "download/ProcessGlobals.h"

namespace {

bool isCell(int cell)
{
    return cell >= 0 && cell < DownloadController::kCellCount;
}

struct KindRoute {
    int colour;
    int level;
};

// A kind outside 0 to 5 on a cell's page is shown as engine information.
KindRoute routeOfMessageKind(int kind)
{
    switch (kind) {
    case 0: return {LineError, 2};
    case 1: return {LineProgress, 1};
    case 2:
    case 3: return {LineInformation, 1};
    case 4: return {LineRecord, 1};
    case 5: return {LineMarker, 1};
    default: return {LineInformation, 0};
    }
}

QString fileKindPrefix(int fileKind)
{
    switch (fileKind) {
    case 0: return QStringLiteral("Downloading VKB: ");
    case 1: return QStringLiteral("Donwloading Modem: ");
    case 2: return QStringLiteral("Downloading GPS: ");
    case 3: return QStringLiteral("Downloading all files: ");
    default: return QStringLiteral("...");
    }
}

} // namespace

EngineEventHandler::EngineEventHandler(DownloadController& controller)
    : m_controller(controller)
{
}

EngineEventHandler::~EngineEventHandler()
{
    EngineBinding::instance().clearReceiver(this);
}

bool EngineEventHandler::event(QEvent* event)
{
    switch (int(event->type())) {
    case WM_ENGINE_MESSAGE:
        HandleMessage(static_cast<EngineMessageEvent*>(event)->record());
        return true;
    case WM_ENGINE_PROGRESS:
        HandleProgress(static_cast<EngineProgressEvent*>(event)->record());
        return true;
    case WM_ENGINE_STATE:
        HandleState(static_cast<EngineStateEvent*>(event)->record());
        return true;
    case WM_ENGINE_DEVICE:
        HandleDevice(static_cast<EngineDeviceEvent*>(event)->record());
        return true;
    case WM_ENGINE_VERIFY:
        HandleVerify(static_cast<EngineVerifyEvent*>(event)->record());
        return true;
    default:
        return QObject::event(event);
    }
}

void EngineEventHandler::HandleMessage(const EngineMessageRecord& record)
{
    const KindRoute route = routeOfMessageKind(record.kind);
    if (record.cell == -1)
        m_controller.LogMessage(engineText(record.text), route.level);
    else if (isCell(record.cell))
        m_controller.CellMessage(record.cell, engineText(record.text), route.colour);
}

// 64-bit arithmetic: done × 100 overflows 32 bits long before a real image does.
// 99 and 100 are not shown (100 only when the cell succeeds); a share below zero
// cannot be shown either.
void EngineEventHandler::HandleProgress(const EngineProgressRecord& record)
{
    if (!isCell(record.cell) || record.total == 0)
        return;
    const qint64 percent = qint64(record.done) * 100 / record.total;
    if (percent >= 0 && percent <= 98)
        m_controller.UpdateCellProgress(record.cell, int(percent), 1, 0);
}

void EngineEventHandler::HandleState(const EngineStateRecord& record)
{
    const int cell = record.cell;
    if (!isCell(cell))
        return;
    QString line = fileKindPrefix(record.fileKind);
    int colour = LineInformation;
    switch (record.state) {
    case 1:
        m_controller.SetCellRunState(cell, 1);
        m_controller.CellMessage(cell, QStringLiteral("Download Started..."), LineProgress);
        colour = LineProgress;
        break;
    case 2:
        line += QStringLiteral("Successful!");
        colour = LineSuccess;
        m_controller.SetCellRunState(cell, 2);
        m_controller.UpdateCellProgress(cell, 100, 2, 1);
        break;
    case 3: {
        line += QStringLiteral("Failed!");
        colour = LineError;
        const int reached = m_controller.CellProgress(cell);
        m_controller.SetCellRunState(cell, 3);
        m_controller.UpdateCellProgress(cell, reached, 3, 1);
        break;
    }
    default:
        break;
    }
    m_controller.CellMessage(cell, line, colour);
    if (record.state != 2 && record.state != 3)
        return;
    const bool passed = record.state == 2;
    SendResultRecordLines(cell, passed);
    m_controller.WriteCellRecords(cell, passed);
    if (m_controller.isOneShot() || IsCommandLineMode())
        m_controller.PressStop();
}

void EngineEventHandler::SendResultRecordLines(int cell, bool passed)
{
    const QString lines[] = {
        passed ? QStringLiteral("TestResult=Pass") : QStringLiteral("TestResult=FailStop"),
        QStringLiteral("TesterId=%1").arg(cell),
        QStringLiteral("DUTId=%1").arg(cell),
        QStringLiteral("FailureMessage="),
        QStringLiteral("ErrorMessage="),
        QStringLiteral("Operator="),
        QStringLiteral("--end of file--"),
    };
    for (const QString& line : lines)
        m_controller.CellMessage(cell, line, LineRecord);
}

void EngineEventHandler::HandleDevice(const EngineDeviceRecord& record)
{
    const int cell = record.cell;
    if (!isCell(cell))
        return;
    if (record.link == 0) {
        m_controller.SetCellLink(cell, 1);
    } else if (record.link == 1) {
        m_controller.ClearCell(cell);
        m_controller.CellMessage(cell, SoftwareVersionText(), LineProgress);
        const QString address = QStringLiteral("Cell %1 USB address is: %2").arg(QString::number(cell), engineText(record.usbAddress));
        m_controller.CellMessage(cell, address, LineProgress);
        m_controller.LogMessage(address, 0);
        m_controller.SetCellLink(cell, 0);
    }
}

void EngineEventHandler::HandleVerify(const EngineVerifyRecord& record)
{
    m_controller.VerificationReported(record.status, record.kind, engineText(record.text));
}
