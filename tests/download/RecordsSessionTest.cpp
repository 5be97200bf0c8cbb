#include "download/DownloadController.h"
#include "download/ProcessGlobals.h"
#include "records/MessageLoggerModel.h"
#include "tests/download/RecordingWindows.h"
#include "tests/download/SessionFolder.h"
#include "tests/download/TestEngineProbe.h"
#include "tests/support/ManualClock.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTest>

#include <memory>

namespace {

// The message logger page as the window layer builds it: the cell pages relay to
// the logger's model, and the model's log line goes back to the controller.
class LoggerPages final : public ICellPages {
public:
    MessageLoggerModel model;

    LoggerPages()
    {
        model.setLogFunction([](const QString& text, int level) { DownloadController::Instance().LogMessage(text, level); });
    }

    void AppendCellMessage(int cell, const QString& text, RgbColour colour) override { model.AppendCellMessage(cell, text, colour); }
    void ShowPage(int cell) override { model.ShowPage(cell); }
    void ClearCellPage(int cell) override { model.ClearCellPage(cell); }
    void WriteRecords(int cell, const QString& modelName, bool passed) override { model.WriteRecords(cell, modelName, passed); }
};

class WindowsWithLogger final : public RecordingWindows {
public:
    LoggerPages pages;
    ICellPages* cellPages() override { return &pages; }
};

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList filesUnder(const QString& folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next().mid(folder.size() + 1);
    files.sort();
    return files;
}

} // namespace

// A whole download of one cell at a DOWNLOAD station, from the engine's reports
// to the screen dump and the test record files on disk.
class RecordsSessionTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void finishedCellLeavesItsDumpAndRecords();

private:
    std::unique_ptr<SessionFolder> m_folder;
    std::unique_ptr<WindowsWithLogger> m_windows;
    std::unique_ptr<ManualClock> m_clock;
};

void RecordsSessionTest::init()
{
    m_folder = std::make_unique<SessionFolder>();
    qputenv("ZARV_DRIVE_E", (m_folder->path() + QStringLiteral("e")).toLocal8Bit());
    qputenv("ZARV_DRIVE_D", (m_folder->path() + QStringLiteral("d")).toLocal8Bit());
    QVERIFY(QDir().mkpath(m_folder->path() + QStringLiteral("e/TestRecord")));
    m_clock = std::make_unique<ManualClock>(QDateTime(QDate(2014, 3, 3), QTime(9, 4, 0)));
    m_windows = std::make_unique<WindowsWithLogger>();
    DownloadController::SetMainFrame(m_windows.get());
    g_nUserRole = 1;
    SetSoftwareVersionText(QStringLiteral("ZARV 2.3.0"));
}

void RecordsSessionTest::cleanup()
{
    TestEngineProbe(m_folder->enginePath()).letGo();
    DownloadController::ReleaseEngine();
    DownloadController::SetMainFrame(nullptr);
    g_nUserRole = 4;
    SetSoftwareVersionText(QString());
    qunsetenv("ZARV_DRIVE_E");
    qunsetenv("ZARV_DRIVE_D");
    m_windows.reset();
    m_clock.reset();
    m_folder.reset();
}

void RecordsSessionTest::finishedCellLeavesItsDumpAndRecords()
{
    const TestEngineProbe engine(m_folder->enginePath());
    m_folder->writeUserConfig(m_folder->writePackage(QStringLiteral("T98.vkb"), "T98_PRO"), QString());
    DownloadController& controller = DownloadController::Instance();
    controller.OnStartPressed();
    QTRY_VERIFY(engine.calls().contains(QStringLiteral("VerifyDataofVKB")));
    engine.fireVerify(0, 2, QStringLiteral("T98_PRO checked"));
    QTRY_COMPARE(engine.threadsInside(), 1);

    engine.fireDevice(2, 1, QStringLiteral("USB1-4"));
    engine.fireMessage(2, 5, QStringLiteral("VKB_T98_V1.7"));
    engine.fireMessage(2, 4, QStringLiteral("TestStation=DOWNLOAD_LINE3"));
    engine.fireMessage(2, 4, QStringLiteral("sn=ab12cd"));
    engine.fireMessage(2, 4, QStringLiteral("Project_Name=T98_PRO"));
    engine.fireMessage(2, 4, QStringLiteral("TYPE: any"));
    m_clock->setNow(QDateTime(QDate(2014, 3, 3), QTime(9, 4, 0)));
    engine.fireState(2, 3, 1);
    engine.fireProgress(2, 200, 120);
    QTRY_COMPARE(controller.CellProgress(2), 60);
    m_clock->setNow(QDateTime(QDate(2014, 3, 3), QTime(9, 5, 7)));
    engine.fireState(2, 3, 2);
    QCoreApplication::sendPostedEvents();

    const QString dump = m_folder->path() + QStringLiteral("DownloadScrrenDump/2014-03-03/T98_PRO_SUCCEED_CELL2_09.05.07.rtf");
    const QByteArray rtf = readFile(dump);
    QVERIFY2(rtf.startsWith("{\\rtf1"), dump.toUtf8());
    for (const char* shown : {"CELL2: ZARV 2.3.0", "CELL2: Cell 2 USB address is: USB1-4", "CELL2: Download Started...",
                              "CELL2: Downloading all files: ", "CELL2: Total download time elapsed: 1 min : 7 sec",
                              "CELL2: Downloading all files: Successful!"})
        QVERIFY2(rtf.contains(shown), shown);
    QVERIFY(!rtf.contains("TestResult"));
    QVERIFY(m_windows->messages().contains(QStringLiteral("The download screen dump has been saved at: ") + dump));

    const QString records = m_folder->path() + QStringLiteral("e/TestRecord");
    const QStringList files = filesUnder(records);
    QCOMPARE(files.size(), 3);
    const QString folder = QStringLiteral("VKT98-PRO_DOWNLOAD_LINE3_2_AB12CD_201403030905070000/");
    QCOMPARE(files, (QStringList{folder + "Attributer_201403030905070000.txt", folder + "RuntimeLogger_201403030905070000.txt",
                                 folder + "TestLogger_201403030905070000.csv"}));
    const QByteArray logger = readFile(records + u'/' + files[2]);
    QCOMPARE(logger, QByteArray("TestStation=DOWNLOAD_LINE3\r\n"
                                "SN=AB12CD\r\n"
                                "Project-Name=T98-PRO\r\n"
                                "TYPE: TestResult\r\n"
                                "StartTime=2014-03-03 09:04:00\r\n"
                                "FinishTime=2014-03-03 09:05:07\r\n"
                                "SpendTime=67000\r\n"
                                "TestResult=Pass\r\n"
                                "TesterId=2\r\n"
                                "DUTId=2\r\n"
                                "FailureMessage=\r\n"
                                "ErrorMessage=\r\n"
                                "Operator=\r\n"
                                "1,CID,N/A,N/A,N/A,AB12CD,N/A,Succeeded,,,2014-03-03 09:05:07.  0,end\r\n"
                                "2,VKBVersion,N/A,N/A,N/A,VKB_T98_V1.7,N/A,Succeeded,,,2014-03-03 09:05:07.  0,end\r\n"
                                "--end of file--\r\n"));
}

QTEST_GUILESS_MAIN(RecordsSessionTest)
#include "RecordsSessionTest.moc"
