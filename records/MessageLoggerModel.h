#pragma once
#include "download/LineColour.h"
#include "records/CellPageDocument.h"

#include <QString>
#include <QStringList>

#include <array>
#include <functional>

class CellPageListener;

// What the message logger page knows and decides, without its window: every line
// addressed to a cell is classified here as a shown line, a record line, a serial
// number, the station or the package version; the shown lines make up the cell's
// page document, from which the window draws and the screen dump is written.
class MessageLoggerModel {
public:
    static constexpr int kCellCount = 8;
    static constexpr int kLineHeightTwips = 225;
    static constexpr int kLineWeight = 400; // normal, not bold

    using LogFunction = std::function<void(const QString& text, int level)>;

    // The dump root is fixed here, from the program directory of this moment.
    MessageLoggerModel();

    // The window that mirrors the pages (not owned); nullptr for none.
    void setListener(CellPageListener* listener);
    // Where the line about a saved screen dump goes (the general message list).
    void setLogFunction(LogFunction log);

    void AppendCellMessage(int cell, const QString& text, RgbColour colour);
    void ShowPage(int cell);
    void ClearCellPage(int cell);
    // The screen dump, then the test record when this station keeps them.
    void WriteRecords(int cell, const QString& modelName, bool passed);

    int currentPage() const { return m_currentPage; }
    // For a cell outside 0 to 7 these give an empty page, no lines and "NOSN".
    const CellPageDocument& page(int cell) const;
    const QStringList& recordLines(int cell) const;
    QString serialNumber(int cell) const;

    bool stationSeen() const { return m_stationSeen; }
    const QString& station() const { return m_station; }
    bool recordSwitch() const { return m_recordSwitch; }
    const QString& packageVersion() const { return m_packageVersion; }
    const QString& dumpRoot() const { return m_dumpRoot; }

private:
    struct Cell {
        CellPageDocument page;
        QStringList recordLines;
        QString serialNumber;
    };

    static bool isCell(int cell);
    const Cell& cellOrEmpty(int cell) const;
    void collectRecordLine(int cell, const QString& text);
    void noteStation(const QString& text);
    void showLine(int cell, const QString& text, RgbColour colour);

    std::array<Cell, kCellCount> m_cells;
    int m_currentPage = 0;
    bool m_stationSeen = false;
    bool m_recordSwitch = false;
    QString m_station;
    QString m_packageVersion;
    QString m_dumpRoot;
    CellPageListener* m_listener = nullptr;
    LogFunction m_log;
};
