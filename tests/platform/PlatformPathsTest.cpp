#include "platform/CommandLine.h"
#include "platform/DrivePath.h"
#include "platform/ProgramDirectory.h"

#include <QCoreApplication>
#include <QTest>

class PlatformPathsTest : public QObject {
    Q_OBJECT

private slots:
    void programDirectoryIsTheExecutablesFolder();
    void programDirectoryCanBeRedirected();
    void commandLineQuotesEveryArgument_data();
    void commandLineQuotesEveryArgument();
    void drivePathMapsDriveLetters_data();
    void drivePathMapsDriveLetters();
};

void PlatformPathsTest::programDirectoryIsTheExecutablesFolder()
{
    const QString expected = QCoreApplication::applicationDirPath() + u'/';
    QCOMPARE(Platform::programDirectory(), expected);
}

void PlatformPathsTest::programDirectoryCanBeRedirected()
{
    Platform::setProgramDirectory(QStringLiteral("/tmp/station"));
    QCOMPARE(Platform::programDirectory(), QStringLiteral("/tmp/station/"));
    Platform::setProgramDirectory(QString());
    QCOMPARE(Platform::programDirectory(), QCoreApplication::applicationDirPath() + u'/');
}

void PlatformPathsTest::commandLineQuotesEveryArgument_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("expected");
    QTest::newRow("program only") << QStringList{"/opt/zarv/ZARV_UI"} << QString(R"("/opt/zarv/ZARV_UI")");
    QTest::newRow("package") << QStringList{"/opt/zarv/ZARV_UI", "/data/fw v2.VKB"}
                             << QString(R"("/opt/zarv/ZARV_UI" "/data/fw v2.VKB")");
    QTest::newRow("empty argument") << QStringList{"a", ""} << QString(R"("a" "")");
}

void PlatformPathsTest::commandLineQuotesEveryArgument()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, expected);
    QCOMPARE(Platform::windowsCommandLine(arguments), expected);

    QList<QByteArray> bytes;
    QList<const char*> argv;
    for (const QString& argument : arguments)
        bytes.append(argument.toLocal8Bit());
    for (const QByteArray& argument : bytes)
        argv.append(argument.constData());
    QCOMPARE(Platform::windowsCommandLine(int(argv.size()), argv.constData()), expected);
}

void PlatformPathsTest::drivePathMapsDriveLetters_data()
{
    QTest::addColumn<QString>("environment");
    QTest::addColumn<QString>("windowsPath");
    QTest::addColumn<QString>("expected");
    QTest::newRow("unset drive") << QString() << "E:\\TestRecord" << "/mnt/e/TestRecord";
    QTest::newRow("mapped drive") << "/srv/records" << "E:\\TestRecord\\x.csv" << "/srv/records/TestRecord/x.csv";
    QTest::newRow("mapped with slash") << "/srv/records/" << "e:\\TestRecord" << "/srv/records/TestRecord";
    QTest::newRow("drive root") << "/srv/records" << "E:" << "/srv/records";
    QTest::newRow("no drive") << QString() << "DownloadScrrenDump\\day" << "DownloadScrrenDump/day";
}

void PlatformPathsTest::drivePathMapsDriveLetters()
{
    QFETCH(QString, environment);
    QFETCH(QString, windowsPath);
    QFETCH(QString, expected);
    if (environment.isEmpty())
        qunsetenv("ZARV_DRIVE_E");
    else
        qputenv("ZARV_DRIVE_E", environment.toLocal8Bit());
    QCOMPARE(Platform::drivePath(windowsPath), expected);
    qunsetenv("ZARV_DRIVE_E");
}

QTEST_GUILESS_MAIN(PlatformPathsTest)
#include "PlatformPathsTest.moc"
