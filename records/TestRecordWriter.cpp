#include "records/TestRecordWriter.h"

#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "platform/DrivePath.h"
#include "platform/MessageBox.h"
#include "records/FileNamePart.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace {

struct RecordFile {
    const char* baseName;
    const char* extension;
    const char* role;
};

constexpr RecordFile kRecordFiles[] = {
    {"TestLogger", "csv", "TestResult"},
    {"Attributer", "txt", "Attribute"},
    {"RuntimeLogger", "txt", "RuntimeLogger"},
};

const char* const kRoots[] = {"E:\\TestRecord", "D:\\TestRecord"};

QString stamp(const QDateTime& time)
{
    const QDate date = time.date();
    const QTime clock = time.time();
    return QString::asprintf("%4d%02d%02d%02d%02d%02d%04d", date.year(), date.month(), date.day(), clock.hour(),
                             clock.minute(), clock.second(), clock.msec());
}

QByteArray resultTime(const QDateTime& time)
{
    const QDate date = time.date();
    const QTime clock = time.time();
    return QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d.%3d", date.year(), date.month(), date.day(), clock.hour(),
                             clock.minute(), clock.second(), clock.msec())
        .toLatin1();
}

QString withFileRole(QString line, const RecordFile& file)
{
    if (line.contains(u"TYPE:"))
        line = QStringLiteral("TYPE: ") + QLatin1StringView(file.role);
    if (line.contains(u"Project") && line.contains(u'_'))
        line.replace(u'_', u'-');
    return line;
}

} // namespace

TestRecordWriter::TestRecordWriter(TestRecordInput input)
    : m_input(std::move(input))
{
}

QString TestRecordWriter::folderName(const QDateTime& time) const
{
    QString model = m_input.modelName;
    model.replace(u'_', u'-');
    return QStringLiteral("VK%1_%2_%3_%4_%5")
        .arg(SafeFileNamePart(model), SafeFileNamePart(m_input.station), QString::number(m_input.cell),
             SafeFileNamePart(m_input.serialNumber), stamp(time));
}

QByteArray TestRecordWriter::resultRows(const QDateTime& time) const
{
    const QByteArray when = resultTime(time);
    return "1,CID,N/A,N/A,N/A," + Platform::toAnsiCodePage(m_input.serialNumber) + ",N/A,Succeeded,,," + when + ",end\r\n"
        + "2,VKBVersion,N/A,N/A,N/A," + Platform::toAnsiCodePage(m_input.packageVersion) + ",N/A,Succeeded,,," + when
        + ",end";
}

QByteArray TestRecordWriter::fileContent(int file, const QDateTime& time) const
{
    QByteArray content;
    for (const QString& recordLine : m_input.recordLines) {
        const QString line = withFileRole(recordLine, kRecordFiles[file]);
        if (line.contains(u"TestStation")) {
            content += Platform::toCodePage936(line);
        } else if (line.contains(u"Operator")) {
            content += Platform::toAnsiCodePage(line) + "\r\n";
            content += resultRows(time);
        } else {
            content += Platform::toAnsiCodePage(line);
        }
        content += "\r\n";
    }
    return content;
}

std::optional<QString> TestRecordWriter::createFolder(const QString& name)
{
    for (const char* root : kRoots) {
        const QString folder = Platform::drivePath(QString::fromLatin1(root)) + u'/' + name;
        if (QDir().mkdir(folder) || QFileInfo(folder).isDir())
            return folder;
    }
    return std::nullopt;
}

bool TestRecordWriter::writeFile(int file, const QString& folder, const QDateTime& time) const
{
    const RecordFile& kind = kRecordFiles[file];
    const QString path = QStringLiteral("%1/%2_%3.%4").arg(folder, QLatin1StringView(kind.baseName), stamp(time),
                                                          QLatin1StringView(kind.extension));
    QSaveFile output(path);
    const QByteArray content = fileContent(file, time);
    if (output.open(QIODevice::WriteOnly) && output.write(content) == content.size() && output.commit())
        return true;
    Platform::messageBox(QStringLiteral("The test record file could not be saved at: %1\n%2").arg(path, output.errorString()));
    return false;
}

std::optional<QString> TestRecordWriter::write() const
{
    const QDateTime now = Clock::instance().now();
    const std::optional<QString> folder = createFolder(folderName(now));
    if (!folder)
        return std::nullopt;
    for (int file = 0; file < int(std::size(kRecordFiles)); ++file) {
        if (!writeFile(file, *folder, now))
            return std::nullopt;
    }
    return folder;
}
