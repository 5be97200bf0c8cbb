#pragma once
#include <QByteArray>
#include <QFile>
#include <QString>

// Fixture files for the configuration tests; a fixture that cannot be written stops the test.
inline QString WriteTestFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write fixture %s", qPrintable(path));
    return path;
}

inline QByteArray ReadTestFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
