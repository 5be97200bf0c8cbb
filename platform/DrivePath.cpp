#include "platform/DrivePath.h"

#include <QtGlobal>

namespace Platform {
namespace {

bool startsWithDrive(const QString& path)
{
    return path.size() >= 2 && path.at(1) == u':' && path.at(0).isLetter() && path.at(0).unicode() < 128;
}

QString driveRoot(QChar letter)
{
    const QByteArray variable = "ZARV_DRIVE_" + QByteArray(1, char(letter.toUpper().unicode()));
    const QString root = qEnvironmentVariable(variable.constData());
    if (!root.isEmpty())
        return root;
    return QStringLiteral("/mnt/") + letter.toLower();
}

} // namespace

QString drivePath(const QString& windowsPath)
{
    QString path = windowsPath;
    path.replace(u'\\', u'/');
    if (!startsWithDrive(path))
        return path;
    QString rest = path.mid(2);
    QString root = driveRoot(path.at(0));
    if (root.endsWith(u'/') && rest.startsWith(u'/'))
        root.chop(1);
    else if (!root.endsWith(u'/') && !rest.isEmpty() && !rest.startsWith(u'/'))
        root += u'/';
    return root + rest;
}

} // namespace Platform
