#include "records/MessageLoggerModel.h"

#include "platform/Clock.h"
#include "platform/ProgramDirectory.h"
#include "records/CellPageListener.h"
#include "records/ScreenDumpWriter.h"
#include "records/TestRecordWriter.h"

#include <QTime>

namespace {

const QString kNoSerialNumber = QStringLiteral("NOSN");
const QString kStationKey = QStringLiteral("TestStation=");

} // namespace

MessageLoggerModel::MessageLoggerModel()
    : m_dumpRoot(Platform::programDirectory() + QStringLiteral("DownloadScrrenDump"))
{
    for (Cell& cell : m_cells)
        cell.serialNumber = kNoSerialNumber;
}

void MessageLoggerModel::setListener(CellPageListener* listener)
{
    m_listener = listener;
}

void MessageLoggerModel::setLogFunction(LogFunction log)
{
    m_log = std::move(log);
}

bool MessageLoggerModel::isCell(int cell)
{
    return cell >= 0 && cell < kCellCount;
}

const MessageLoggerModel::Cell& MessageLoggerModel::cellOrEmpty(int cell) const
{
    static const Cell noCell{{}, {}, kNoSerialNumber};
    return isCell(cell) ? m_cells[cell] : noCell;
}

const CellPageDocument& MessageLoggerModel::page(int cell) const
{
    return cellOrEmpty(cell).page;
}

const QStringList& MessageLoggerModel::recordLines(int cell) const
{
    return cellOrEmpty(cell).recordLines;
}

QString MessageLoggerModel::serialNumber(int cell) const
{
    return cellOrEmpty(cell).serialNumber;
}

void MessageLoggerModel::AppendCellMessage(int cell, const QString& text, RgbColour colour)
{
    if (!isCell(cell))
        return;
    if (colour == kRecordLineRgb)
        collectRecordLine(cell, text);
    else if (colour == kMarkerLineRgb && !m_stationSeen)
        m_packageVersion = text;
    else
        showLine(cell, text, colour);
}

void MessageLoggerModel::collectRecordLine(int cell, const QString& text)
{
    Cell& state = m_cells[cell];
    const QString upper = text.toUpper();
    if (upper.contains(u"SN=")) {
        state.recordLines.append(upper);
        state.serialNumber = upper.size() > 3 ? upper.mid(3) : kNoSerialNumber;
    } else {
        state.recordLines.append(text);
    }
    if (!m_stationSeen && text.contains(kStationKey))
        noteStation(text);
}

void MessageLoggerModel::noteStation(const QString& text)
{
    m_station = text.mid(kStationKey.size());
    m_recordSwitch = m_station.contains(u"DOWNLOAD") || m_station.contains(u"UPGRADE");
    m_stationSeen = true;
}

void MessageLoggerModel::showLine(int cell, const QString& text, RgbColour colour)
{
    const QTime now = Clock::instance().now().time();
    QString line = QString::asprintf("%02d:%02d:%02d  CELL%d: ", now.hour(), now.minute(), now.second(), cell);
    line += text;
    line += u'\n';
    const PageLine& added = m_cells[cell].page.append({std::move(line), colour, kLineHeightTwips, kLineWeight});
    if (m_listener)
        m_listener->lineAppended(cell, added);
}

void MessageLoggerModel::ShowPage(int cell)
{
    if (!isCell(cell))
        return;
    m_currentPage = cell;
    if (m_listener)
        m_listener->currentPageChanged(cell);
}

void MessageLoggerModel::ClearCellPage(int cell)
{
    if (!isCell(cell))
        return;
    Cell& state = m_cells[cell];
    state.page.clear();
    state.recordLines.clear();
    state.serialNumber = kNoSerialNumber;
    if (m_listener)
        m_listener->pageCleared(cell);
}

void MessageLoggerModel::WriteRecords(int cell, const QString& modelName, bool passed)
{
    if (!isCell(cell))
        return;
    const Cell& state = m_cells[cell];
    const std::optional<QString> dump = ScreenDumpWriter(m_dumpRoot).write(state.page, modelName, cell, passed);
    if (dump && m_log)
        m_log(QStringLiteral("The download screen dump has been saved at: ") + *dump, 0);
    if (m_recordSwitch)
        TestRecordWriter({cell, modelName, m_station, state.serialNumber, m_packageVersion, state.recordLines}).write();
}
