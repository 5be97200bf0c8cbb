#include "tests/download/RecordingWindows.h"

#include "download/DownloadController.h"

namespace {

QString shown(const QString& text)
{
    return text;
}

QString shown(int value)
{
    return QString::number(value);
}

QString shown(bool value)
{
    return QString::number(value ? 1 : 0);
}

QString shown(RgbColour colour)
{
    for (int type = LineInformation; type <= LineMarker; ++type) {
        if (lineColourRgb(type) == colour)
            return QString::number(type);
    }
    return QStringLiteral("rgb %1 %2 %3").arg(colour.red).arg(colour.green).arg(colour.blue);
}

// The arguments of a journal entry "Name(a, b, c)"; the text argument may itself
// hold ", ", so the entry is split at its known count of arguments.
QStringList arguments(const QString& entry, int count)
{
    const QString inside = entry.mid(entry.indexOf(u'(') + 1).chopped(1);
    QStringList parts = inside.split(QStringLiteral(", "));
    while (parts.size() > count && count >= 2) {
        parts[1] += QStringLiteral(", ") + parts[2];
        parts.removeAt(2);
    }
    return parts;
}

} // namespace

RecordingWindows::RecordingWindows()
    : m_thread(std::this_thread::get_id())
{
}

template <typename... Arguments>
void RecordingWindows::note(const char* name, const Arguments&... values)
{
    if (std::this_thread::get_id() != m_thread) {
        ++callsFromOtherThreads;
        return;
    }
    const QStringList parts{shown(values)...};
    journal << QStringLiteral("%1(%2)").arg(QLatin1String(name), parts.join(QStringLiteral(", ")));
}

QStringList RecordingWindows::calls(const QString& name) const
{
    QStringList found;
    for (const QString& entry : journal) {
        if (entry.startsWith(name + u'('))
            found << entry;
    }
    return found;
}

QStringList RecordingWindows::messages() const
{
    QStringList texts;
    for (const QString& entry : calls(QStringLiteral("AddMessage")))
        texts << entry.mid(int(sizeof "AddMessage")).section(QStringLiteral(", "), 0, -2);
    return texts;
}

QStringList RecordingWindows::cellLines(int cell, int colourType) const
{
    QStringList texts;
    for (const QString& entry : calls(QStringLiteral("AppendCellMessage"))) {
        const QStringList parts = arguments(entry, 3);
        if (parts.value(0).toInt() == cell && (colourType < 0 || parts.value(2).toInt() == colourType))
            texts << parts.value(1);
    }
    return texts;
}

void RecordingWindows::SetCommandsEnabled(bool enabled) { note("SetCommandsEnabled", enabled); }
void RecordingWindows::SetFrameCommands(bool enabled) { note("SetFrameCommands", enabled); }
void RecordingWindows::SetStopEnabled(bool enabled) { note("SetStopEnabled", enabled); }
void RecordingWindows::AddRecentPackage(const QString& text, int kind) { note("AddRecentPackage", text, kind); }
void RecordingWindows::AddMessage(const QString& text, int level) { note("AddMessage", text, level); }
void RecordingWindows::ShowPage(int cell) { note("ShowPage", cell); }
void RecordingWindows::ClearCellPage(int cell) { note("ClearCellPage", cell); }
void RecordingWindows::ShowCellStatus(int cell, int status) { note("ShowCellStatus", cell, status); }
void RecordingWindows::ShowCellState(int cell, int state) { note("ShowCellState", cell, state); }
void RecordingWindows::SelectPage(int index) { note("SelectPage", index); }
void RecordingWindows::EnableConfigOk(bool enabled) { note("EnableConfigOk", enabled); }
void RecordingWindows::SetConfigEnabled(bool enabled) { note("SetConfigEnabled", enabled); }
void RecordingWindows::ConfigMessage(const QString& text, int level) { note("ConfigMessage", text, level); }
void RecordingWindows::CloseConfig() { note("CloseConfig"); }

void RecordingWindows::PressStop()
{
    note("PressStop");
    if (stopRunsController)
        DownloadController::Instance().OnStopPressed();
}

void RecordingWindows::AppendCellMessage(int cell, const QString& text, RgbColour colour)
{
    note("AppendCellMessage", cell, text, colour);
}

void RecordingWindows::WriteRecords(int cell, const QString& modelName, bool passed)
{
    note("WriteRecords", cell, modelName, passed);
}

void RecordingWindows::ShowCellProgress(int cell, int percent, int state, int force)
{
    note("ShowCellProgress", cell, percent, state, force);
}

bool RecordingWindows::SetRowValue(int row, const QString& text)
{
    note("SetRowValue", row, text);
    return row >= 0 && row <= 4;
}
