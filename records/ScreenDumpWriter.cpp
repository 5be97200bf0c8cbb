#include "records/ScreenDumpWriter.h"

#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "records/FileNamePart.h"
#include "records/RtfWriter.h"

#include <QDir>
#include <QSaveFile>

ScreenDumpWriter::ScreenDumpWriter(QString dumpRoot)
    : m_root(std::move(dumpRoot))
{
}

QString ScreenDumpWriter::dayFolder(const QDate& date) const
{
    return m_root + QString::asprintf("/%04d-%02d-%02d", date.year(), date.month(), date.day());
}

QString ScreenDumpWriter::filePath(const QDateTime& time, const QString& modelName, int cell, bool passed) const
{
    const QTime clock = time.time();
    return dayFolder(time.date()) + u'/' + SafeFileNamePart(modelName)
        + QString::asprintf("_%s_CELL%d_%02d.%02d.%02d.rtf", passed ? "SUCCEED" : "FAILED", cell, clock.hour(),
                            clock.minute(), clock.second());
}

std::optional<QString> ScreenDumpWriter::write(const CellPageDocument& page, const QString& modelName, int cell, bool passed) const
{
    const QDateTime now = Clock::instance().now();
    // Folders that cannot be made show up as a file that cannot be written.
    QDir().mkpath(dayFolder(now.date()));
    const QString path = filePath(now, modelName, cell, passed);
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && RtfWriter(file).write(page) && file.commit())
        return path;
    Platform::messageBox(QStringLiteral("The download screen dump could not be saved at: %1\n%2").arg(path, file.errorString()));
    return std::nullopt;
}
