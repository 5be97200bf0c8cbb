#include "platform/LockFile.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <unistd.h>

namespace Platform {
namespace {

QString lockFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QDir(runtime).exists() ? runtime : QStringLiteral("/tmp");
}

// A name may hold any character; the file name keeps only the safe ones.
QString fileNameFor(const QString& name)
{
    QString safe;
    for (QChar c : name)
        safe += (c.isLetterOrNumber() && c.unicode() < 128) || c == u'.' || c == u'_' || c == u'-' ? c : u'_';
    return QStringLiteral("zarv-") + safe + QStringLiteral(".lock");
}

} // namespace

int openLockFile(const QString& name)
{
    const QByteArray path = QFile::encodeName(lockFolder() + u'/' + fileNameFor(name));
    return ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
}

} // namespace Platform
