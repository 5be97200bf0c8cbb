#include "platform/ProgramDirectory.h"

#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>

namespace Platform {
namespace {

QMutex overrideMutex;
QString overriddenDirectory;

QString withTrailingSlash(QString directory)
{
    if (!directory.endsWith(u'/'))
        directory += u'/';
    return directory;
}

} // namespace

QString programDirectory()
{
    {
        QMutexLocker locker(&overrideMutex);
        if (!overriddenDirectory.isEmpty())
            return overriddenDirectory;
    }
    static const QString directory = withTrailingSlash(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(u'/', 0, -2));
    return directory;
}

void setProgramDirectory(const QString& directory)
{
    QMutexLocker locker(&overrideMutex);
    overriddenDirectory = directory.isEmpty() ? QString() : withTrailingSlash(directory);
}

} // namespace Platform
