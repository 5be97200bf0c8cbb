#pragma once
#include <QByteArray>
#include <QFile>
#include <QString>

// The bytes of a committed GIF fixture under tests/widgets/fixtures.
inline QByteArray gifFixture(const char* name)
{
    QFile file(QStringLiteral(ZARV_SOURCE_DIR "tests/widgets/fixtures/%1").arg(QLatin1String(name)));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", name);
    return file.readAll();
}
