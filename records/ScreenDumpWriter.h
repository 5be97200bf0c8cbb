#pragma once
#include "records/CellPageDocument.h"

#include <QDateTime>
#include <QString>

#include <optional>

// Saves a finished cell's page as an RTF file in a folder per day under the dump
// root, named after the model, the result, the cell and the time of day.
class ScreenDumpWriter {
public:
    explicit ScreenDumpWriter(QString dumpRoot);

    // Writes the file whole or not at all. Returns its path, or nothing after
    // telling the operator in a message box why it could not be written.
    std::optional<QString> write(const CellPageDocument& page, const QString& modelName, int cell, bool passed) const;

private:
    // Where a dump taken at the given local time goes.
    QString filePath(const QDateTime& time, const QString& modelName, int cell, bool passed) const;
    QString dayFolder(const QDate& date) const;

    QString m_root;
};
