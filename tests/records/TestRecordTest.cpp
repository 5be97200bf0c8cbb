#include "platform/MessageBox.h"
#include "platform/ProgramDirectory.h"
#include "records/MessageLoggerModel.h"
#include "tests/support/ManualClock.h"
#include "tests/support/MessageBoxRecorder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kStamp = QStringLiteral("201403030905070042");
const QByteArray kRowTime = "2014-03-03 09:05:07. 42";

void sendRecordLines(MessageLoggerModel& logger, int cell, const QStringList& lines)
{
    for (const QString& line : lines)
        logger.AppendCellMessage(cell, line, kRecordLineRgb);
}

// What the engine, the cell timing and the end of a download send as record lines.
void sendDownload(MessageLoggerModel& logger, int cell, const QString& station, const QString& serialLine)
{
    logger.AppendCellMessage(cell, QStringLiteral("VKB_V1.2"), kMarkerLineRgb);
    sendRecordLines(logger, cell, {"TYPE:ToBeReplaced", "Project=VK_5013_X", "TestStation=" + station, serialLine,
                                   "Operator=factory", "Board_Rev=2"});
    logger.AppendCellMessage(cell, QStringLiteral("Downloading all files: Successful!"), lineColourRgb(LineSuccess));
    sendRecordLines(logger, cell, {"StartTime=2014-03-03 09:04:00", "FinishTime=2014-03-03 09:05:07", "SpendTime=67000",
                                   "TestResult=Pass", QStringLiteral("TesterId=%1").arg(cell),
                                   QStringLiteral("DUTId=%1").arg(cell), "FailureMessage=", "ErrorMessage=", "Operator=",
                                   "--end of file--"});
}

QByteArray resultRows(const QByteArray& serial, const QByteArray& version)
{
    return "1,CID,N/A,N/A,N/A," + serial + ",N/A,Succeeded,,," + kRowTime + ",end\r\n" + "2,VKBVersion,N/A,N/A,N/A,"
        + version + ",N/A,Succeeded,,," + kRowTime + ",end\r\n";
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestRecordTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void recordAtDownloadStation_data();
    void recordAtDownloadStation();
    void stationDecidesOnceWhetherRecordsAreKept_data();
    void stationDecidesOnceWhetherRecordsAreKept();
    void twoCellsInTheSameSecondGetTheirOwnFolders();
    void secondDownloadWithoutAttachKeepsBothDownloads();
    void recordRoot_data();
    void recordRoot();
    void hostileFileNamePartsStayUnderTheirRoots();
    void unwritableRecordFileIsReportedAndStopsTheRest();
    void recordIsKeptWhenTheDumpCannotBeWritten();

private:
    QString path(const QString& relative) const { return m_dir.filePath(relative); }
    void makeFolder(const QString& relative) const { QDir().mkpath(path(relative)); }
    QStringList filesUnder(const QString& relative) const;
    MessageLoggerModel& newModel();

    QTemporaryDir m_dir;
    std::unique_ptr<ManualClock> m_clock;
    std::unique_ptr<MessageLoggerModel> m_model;
    MessageBoxRecorder m_messageBoxes;
};

void TestRecordTest::init()
{
    QDir(m_dir.path()).removeRecursively();
    makeFolder(QStringLiteral("program"));
    makeFolder(QStringLiteral("e/TestRecord"));
    makeFolder(QStringLiteral("d/TestRecord"));
    Platform::setProgramDirectory(path(QStringLiteral("program")));
    qputenv("ZARV_DRIVE_E", path(QStringLiteral("e")).toLocal8Bit());
    qputenv("ZARV_DRIVE_D", path(QStringLiteral("d")).toLocal8Bit());
    m_clock = std::make_unique<ManualClock>(QDateTime(QDate(2014, 3, 3), QTime(9, 5, 7, 42)));
    m_messageBoxes.clear();
}

void TestRecordTest::cleanup()
{
    m_model.reset();
    m_clock.reset();
    Platform::setProgramDirectory(QString());
    qunsetenv("ZARV_DRIVE_E");
    qunsetenv("ZARV_DRIVE_D");
}

MessageLoggerModel& TestRecordTest::newModel()
{
    m_model = std::make_unique<MessageLoggerModel>();
    return *m_model;
}

QStringList TestRecordTest::filesUnder(const QString& relative) const
{
    QStringList files;
    QDirIterator it(path(relative), QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(path(relative)).relativeFilePath(it.next());
    files.sort();
    return files;
}

void TestRecordTest::recordAtDownloadStation_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("typeLine");
    QTest::newRow("TestLogger") << "TestLogger_" + kStamp + ".csv" << QByteArray("TYPE: TestResult");
    QTest::newRow("Attributer") << "Attributer_" + kStamp + ".txt" << QByteArray("TYPE: Attribute");
    QTest::newRow("RuntimeLogger") << "RuntimeLogger_" + kStamp + ".txt" << QByteArray("TYPE: RuntimeLogger");
}

void TestRecordTest::recordAtDownloadStation()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, typeLine);

    MessageLoggerModel& logger = newModel();
    sendDownload(logger, 1, QStringLiteral("DOWNLOAD_测试"), QStringLiteral("sn=ab12cd"));
    logger.WriteRecords(1, QStringLiteral("M_50"), true);

    const QString folder = QStringLiteral("VKM-50_DOWNLOAD_测试_1_AB12CD_") + kStamp;
    QCOMPARE(filesUnder(QStringLiteral("e/TestRecord")),
             (QStringList{folder + "/Attributer_" + kStamp + ".txt", folder + "/RuntimeLogger_" + kStamp + ".txt",
                          folder + "/TestLogger_" + kStamp + ".csv"}));
    const QByteArray expected = typeLine + "\r\n"
        "Project=VK-5013-X\r\n"
        "TestStation=DOWNLOAD_\xB2\xE2\xCA\xD4\r\n"
        "SN=AB12CD\r\n"
        "Operator=factory\r\n"
        + resultRows("AB12CD", "VKB_V1.2") +
        "Board_Rev=2\r\n"
        "StartTime=2014-03-03 09:04:00\r\n"
        "FinishTime=2014-03-03 09:05:07\r\n"
        "SpendTime=67000\r\n"
        "TestResult=Pass\r\n"
        "TesterId=1\r\n"
        "DUTId=1\r\n"
        "FailureMessage=\r\n"
        "ErrorMessage=\r\n"
        "Operator=\r\n"
        + resultRows("AB12CD", "VKB_V1.2") +
        "--end of file--\r\n";
    QCOMPARE(readFile(path("e/TestRecord/" + folder + "/" + name)), expected);
    QVERIFY(filesUnder(QStringLiteral("d")).isEmpty());
    QVERIFY(m_messageBoxes.texts().isEmpty());
}

void TestRecordTest::stationDecidesOnceWhetherRecordsAreKept_data()
{
    QTest::addColumn<QStringList>("stationLines");
    QTest::addColumn<bool>("kept");
    QTest::newRow("DOWNLOAD") << QStringList{"TestStation=LINE1-DOWNLOAD"} << true;
    QTest::newRow("UPGRADE") << QStringList{"TestStation=UPGRADE"} << true;
    QTest::newRow("another station") << QStringList{"TestStation=ASSEMBLY"} << false;
    QTest::newRow("a later DOWNLOAD line changes nothing")
        << QStringList{"TestStation=ASSEMBLY", "TestStation=DOWNLOAD"} << false;
    QTest::newRow("no station line") << QStringList{"Project=X"} << false;
}

void TestRecordTest::stationDecidesOnceWhetherRecordsAreKept()
{
    QFETCH(QStringList, stationLines);
    QFETCH(bool, kept);

    MessageLoggerModel& logger = newModel();
    sendRecordLines(logger, 0, stationLines);
    sendRecordLines(logger, 0, {"SN=1", "TestResult=FailStop", "Operator="});
    logger.WriteRecords(0, QStringLiteral("M"), false);

    QCOMPARE(filesUnder(QStringLiteral("e/TestRecord")).size(), kept ? 3 : 0);
    QVERIFY(filesUnder(QStringLiteral("d")).isEmpty());
    // the screen dump does not depend on the station
    QCOMPARE(filesUnder(QStringLiteral("program")), QStringList{"DownloadScrrenDump/2014-03-03/M_FAILED_CELL0_09.05.07.rtf"});
}

void TestRecordTest::twoCellsInTheSameSecondGetTheirOwnFolders()
{
    MessageLoggerModel& logger = newModel();
    sendDownload(logger, 2, QStringLiteral("DOWNLOAD"), QStringLiteral("SN=222"));
    sendDownload(logger, 3, QStringLiteral("DOWNLOAD"), QStringLiteral("SN=333"));
    logger.WriteRecords(2, QStringLiteral("M"), true);
    logger.WriteRecords(3, QStringLiteral("M"), true);

    const QStringList folders = QDir(path(QStringLiteral("e/TestRecord"))).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCOMPARE(folders, (QStringList{"VKM_DOWNLOAD_2_222_" + kStamp, "VKM_DOWNLOAD_3_333_" + kStamp}));
    const QByteArray cell3 = readFile(path("e/TestRecord/" + folders[1] + "/TestLogger_" + kStamp + ".csv"));
    QVERIFY(cell3.contains("\r\nTesterId=3\r\n"));
    QVERIFY(cell3.contains(",333,"));
    QVERIFY(!cell3.contains("222"));
}

void TestRecordTest::secondDownloadWithoutAttachKeepsBothDownloads()
{
    MessageLoggerModel& logger = newModel();
    sendDownload(logger, 4, QStringLiteral("UPGRADE"), QStringLiteral("SN=444"));
    logger.WriteRecords(4, QStringLiteral("M"), true);
    sendRecordLines(logger, 4, {"StartTime=2014-03-03 09:06:00", "TestResult=FailStop", "Operator=", "--end of file--"});
    m_clock->setNow(QDateTime(QDate(2014, 3, 3), QTime(9, 7, 0, 5)));
    logger.WriteRecords(4, QStringLiteral("M"), false);

    const QByteArray second =
        readFile(path(QStringLiteral("e/TestRecord/VKM_UPGRADE_4_444_201403030907000005/RuntimeLogger_201403030907000005.txt")));
    QVERIFY(second.contains("TestResult=Pass\r\n"));
    QVERIFY(second.endsWith("TestResult=FailStop\r\nOperator=\r\n"
                            "1,CID,N/A,N/A,N/A,444,N/A,Succeeded,,,2014-03-03 09:07:00.  5,end\r\n"
                            "2,VKBVersion,N/A,N/A,N/A,VKB_V1.2,N/A,Succeeded,,,2014-03-03 09:07:00.  5,end\r\n"
                            "--end of file--\r\n"));
    QCOMPARE(second.count("--end of file--"), 2);
    QCOMPARE(second.count("\r\n1,CID,"), 3); // one pair per Operator line
    QCOMPARE(filesUnder(QStringLiteral("e/TestRecord")).size(), 6);
}

void TestRecordTest::recordRoot_data()
{
    QTest::addColumn<QStringList>("removed");
    QTest::addColumn<QString>("blocked");
    QTest::addColumn<QString>("expectedRoot");
    QTest::newRow("E: usable") << QStringList{} << QString() << "e/TestRecord";
    QTest::newRow("E: without TestRecord falls back to D:") << QStringList{"e/TestRecord"} << QString() << "d/TestRecord";
    QTest::newRow("E: TestRecord is a file") << QStringList{"e/TestRecord"} << "e/TestRecord" << "d/TestRecord";
    QTest::newRow("record folder already on E:") << QStringList{} << "e/TestRecord/VKM_DOWNLOAD_0_NOSN_" + kStamp + "/"
                                                  << "e/TestRecord";
    QTest::newRow("neither usable") << QStringList{"e/TestRecord", "d/TestRecord"} << QString() << QString();
}

void TestRecordTest::recordRoot()
{
    QFETCH(QStringList, removed);
    QFETCH(QString, blocked);
    QFETCH(QString, expectedRoot);

    for (const QString& folder : removed)
        QDir(path(folder)).removeRecursively();
    if (blocked.endsWith(u'/'))
        makeFolder(blocked);
    else if (!blocked.isEmpty())
        QFile(path(blocked)).open(QIODevice::WriteOnly);

    MessageLoggerModel& logger = newModel();
    sendRecordLines(logger, 0, {"TestStation=DOWNLOAD", "Operator="});
    logger.WriteRecords(0, QStringLiteral("M"), true);

    const QStringList written = (filesUnder(QStringLiteral("e")) + filesUnder(QStringLiteral("d"))).filter(kStamp);
    QCOMPARE(written.size(), expectedRoot.isEmpty() ? 0 : 3);
    const QString folder = "VKM_DOWNLOAD_0_NOSN_" + kStamp;
    if (!expectedRoot.isEmpty())
        QCOMPARE(filesUnder(expectedRoot + "/" + folder).size(), 3);
    QVERIFY(m_messageBoxes.texts().isEmpty());
    QCOMPARE(filesUnder(QStringLiteral("program")).size(), 1);
}

void TestRecordTest::hostileFileNamePartsStayUnderTheirRoots()
{
    MessageLoggerModel& logger = newModel();
    sendRecordLines(logger, 6, {"TestStation=../../DOWNLOAD/..", "SN=/../../x\\y:z", "Operator="});
    logger.WriteRecords(6, QStringLiteral("../../../../etc"), true);

    const QString folder = "VK..-..-..-..-etc_..-..-DOWNLOAD-.._6_-..-..-X-Y-Z_" + kStamp;
    QCOMPARE(filesUnder(QString()),
             (QStringList{"e/TestRecord/" + folder + "/Attributer_" + kStamp + ".txt",
                          "e/TestRecord/" + folder + "/RuntimeLogger_" + kStamp + ".txt",
                          "e/TestRecord/" + folder + "/TestLogger_" + kStamp + ".csv",
                          "program/DownloadScrrenDump/2014-03-03/..-..-..-..-etc_SUCCEED_CELL6_09.05.07.rtf"}));
    QVERIFY(m_messageBoxes.texts().isEmpty());
}

void TestRecordTest::unwritableRecordFileIsReportedAndStopsTheRest()
{
    const QString folder = "e/TestRecord/VKM_DOWNLOAD_0_NOSN_" + kStamp;
    makeFolder(folder + "/TestLogger_" + kStamp + ".csv");
    MessageLoggerModel& logger = newModel();
    sendRecordLines(logger, 0, {"TestStation=DOWNLOAD", "Operator="});
    logger.WriteRecords(0, QStringLiteral("M"), true);

    QCOMPARE(m_messageBoxes.texts().size(), 1);
    QVERIFY2(m_messageBoxes.texts()[0].startsWith("The test record file could not be saved at: " + path(folder) + "/TestLogger_"
                                          + kStamp + ".csv\n"),
             qPrintable(m_messageBoxes.texts()[0]));
    QVERIFY(filesUnder(QStringLiteral("e")).isEmpty());
    QVERIFY(filesUnder(QStringLiteral("d")).isEmpty());
}

void TestRecordTest::recordIsKeptWhenTheDumpCannotBeWritten()
{
    QFile(path(QStringLiteral("program/DownloadScrrenDump"))).open(QIODevice::WriteOnly);
    MessageLoggerModel& logger = newModel();
    sendRecordLines(logger, 0, {"TestStation=DOWNLOAD", "Operator="});
    logger.WriteRecords(0, QStringLiteral("M"), true);

    QCOMPARE(m_messageBoxes.texts().size(), 1);
    QVERIFY(m_messageBoxes.texts()[0].startsWith(QStringLiteral("The download screen dump could not be saved at: ")));
    QCOMPARE(filesUnder(QStringLiteral("e/TestRecord")).size(), 3);
}

QTEST_GUILESS_MAIN(TestRecordTest)
#include "TestRecordTest.moc"
