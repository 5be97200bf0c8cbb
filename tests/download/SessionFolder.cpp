#include "tests/download/SessionFolder.h"

#include "platform/ProgramDirectory.h"

#include <QDir>
#include <QFile>

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write fixture %s", qPrintable(path));
}

} // namespace

SessionFolder::SessionFolder(const QString& engineLibrary)
{
    if (!m_dir.isValid() || !QFile::copy(engineLibrary, enginePath()))
        qFatal("cannot install the test engine %s", qPrintable(engineLibrary));
    Platform::setProgramDirectory(path());
}

SessionFolder::~SessionFolder()
{
    Platform::setProgramDirectory(QString());
}

QString SessionFolder::writePackage(const QString& fileName, const QByteArray& model)
{
    QByteArray header(64, '\0');
    header.replace(0, 4, QByteArray("VK\x01\x08", 4));
    header.replace(4, model.size(), model);
    const QString packagePath = path() + fileName;
    writeFile(packagePath, header + QByteArray(1024, 'x'));
    return packagePath;
}

void SessionFolder::writeUserConfig(const QString& packagePath, const QString& imagePath)
{
    QDir(path()).mkpath(QStringLiteral("UserConfig"));
    const QString xml = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<CONFIG xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n"
        "  <LASTUSER>1</LASTUSER>\n  <LANG>1</LANG>\n"
        "  <VKB_PATH>%1</VKB_PATH>\n  <GPS_PATH>%2</GPS_PATH>\n"
        "</CONFIG>\n").arg(packagePath.toHtmlEscaped(), imagePath.toHtmlEscaped());
    writeFile(path() + QStringLiteral("UserConfig/UserConfig.xml"), xml.toUtf8());
}

void SessionFolder::removeUserConfig()
{
    QFile::remove(path() + QStringLiteral("UserConfig/UserConfig.xml"));
}
