#include "download/PackageHeader.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class PackageHeaderTest : public QObject {
    Q_OBJECT

private slots:
    void modelNameByHeaderForm_data();
    void modelNameByHeaderForm();
    void unreadablePackagesLeaveTheNameAlone_data();
    void unreadablePackagesLeaveTheNameAlone();
    void packageIsClosedAfterReading();

private:
    QString writePackage(const QByteArray& bytes);
    QTemporaryDir m_dir;
    int m_files = 0;
};

namespace {

QByteArray header(const QByteArray& magic, int nameOffset, const QByteArray& name, int size = 64)
{
    QByteArray bytes(size, '\0');
    bytes.replace(0, magic.size(), magic);
    bytes.replace(nameOffset, qMin<qsizetype>(name.size(), size - nameOffset), name.left(size - nameOffset));
    return bytes;
}

} // namespace

QString PackageHeaderTest::writePackage(const QByteArray& bytes)
{
    const QString path = m_dir.filePath(QStringLiteral("package%1.vkb").arg(++m_files));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write fixture %s", qPrintable(path));
    return path;
}

void PackageHeaderTest::modelNameByHeaderForm_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("model");
    QTest::newRow("VK13") << header("VK\x01\x03", 4, "VK5013") << "VK5013";
    QTest::newRow("WTVK") << header("WTVK", 4, "T98") << "T98";
    QTest::newRow("VK14") << header("VK\x01\x04", 36, "M14") << "M14";
    QTest::newRow("VK15") << header("VK\x01\x05", 36, "M15") << "M15";
    QTest::newRow("VK16") << header("VK\x01\x06", 36, "M16") << "M16";
    QTest::newRow("VK17 exactly 64 bytes") << header("VK\x01\x07", 48, "M17") << "M17";
    QTest::newRow("VK18") << header("VK\x01\x08", 4, "M18") << "M18";
    QTest::newRow("VK18 longer file") << header("VK\x01\x08", 4, "M18", 4096) << "M18";
    QTest::newRow("name without NUL ends at byte 64") << header("VK\x01\x07", 48, "ABCDEFGHIJKLMNOPQRST") << "ABCDEFGHIJKLMNOP";
    QTest::newRow("empty name") << header("VK\x01\x08", 4, "") << "";
}

void PackageHeaderTest::modelNameByHeaderForm()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, model);
    QString name = QStringLiteral("previous");
    QVERIFY(ReadPackageModel(writePackage(bytes), name));
    QCOMPARE(name, model);
}

void PackageHeaderTest::unreadablePackagesLeaveTheNameAlone_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("empty path") << QString();
    QTest::newRow("missing file") << QStringLiteral("/nonexistent/package.vkb");
    QTest::newRow("a folder") << QStringLiteral("/tmp");
    QTest::newRow("VK 0x01 0x09") << writePackage(header("VK\x01\x09", 4, "X"));
    QTest::newRow("VK 0x01 0x02") << writePackage(header("VK\x01\x02", 4, "X"));
    QTest::newRow("unknown magic") << writePackage(header("PK\x03\x04", 4, "X"));
    for (int size : {0, 1, 4, 63})
        QTest::addRow("%d bytes", size) << writePackage(header("VK\x01\x08", 4, "X").left(size));
}

void PackageHeaderTest::unreadablePackagesLeaveTheNameAlone()
{
    QFETCH(QString, path);
    QString name = QStringLiteral("previous");
    QVERIFY(!ReadPackageModel(path, name));
    QCOMPARE(name, QStringLiteral("previous"));
}

void PackageHeaderTest::packageIsClosedAfterReading()
{
    const QString path = writePackage(header("VK\x01\x08", 4, "M18"));
    const auto openDescriptors = [] { return QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot | QDir::System).size(); };
    const qsizetype before = openDescriptors();
    QString name;
    QVERIFY(ReadPackageModel(path, name));
    QCOMPARE(openDescriptors(), before);
}

QTEST_GUILESS_MAIN(PackageHeaderTest)
#include "PackageHeaderTest.moc"
