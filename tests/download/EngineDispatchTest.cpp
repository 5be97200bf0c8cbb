#include "download/DownloadController.h"
#include "download/EngineCallbacks.h"
#include "download/EngineText.h"
#include "download/ProcessGlobals.h"
#include "platform/NamedLock.h"
#include "tests/download/RecordingWindows.h"
#include "tests/support/ManualClock.h"

#include <QTest>

#include <climits>
#include <functional>
#include <memory>
#include <stdexcept>
#include <thread>

namespace {

const QDateTime kMorning(QDate(2014, 3, 3), QTime(10, 59, 50));

// Reports as the engine makes them: from a thread of the engine's, then handled
// on this (the user-interface) thread.
void fromEngine(const std::function<void()>& report)
{
    std::thread(report).join();
    QCoreApplication::sendPostedEvents();
}

void message(int cell, int kind, const QString& text)
{
    EngineMessageRecord record{};
    record.cell = cell;
    record.kind = kind;
    setEngineText(record.text, text);
    fromEngine([record] { OnEngineMessage(record); });
}

void progress(int cell, int total, int done)
{
    fromEngine([=] { OnEngineProgress(cell, total, done); });
}

void state(int cell, int fileKind, int state)
{
    fromEngine([=] { OnEngineState(cell, fileKind, state); });
}

void device(int cell, int link, const QString& address)
{
    EngineDeviceRecord record{};
    record.cell = cell;
    record.link = link;
    setEngineText(record.usbAddress, address);
    fromEngine([record] { OnEngineDevice(record); });
}

void verify(int status, int kind, const QString& text)
{
    EngineVerifyRecord record{};
    record.status = status;
    record.kind = kind;
    setEngineText(record.text, text);
    fromEngine([record] { OnEngineVerify(record); });
}

QStringList recordLinesOfResult(int cell, bool passed)
{
    return {passed ? QStringLiteral("TestResult=Pass") : QStringLiteral("TestResult=FailStop"),
            QStringLiteral("TesterId=%1").arg(cell),
            QStringLiteral("DUTId=%1").arg(cell),
            QStringLiteral("FailureMessage="),
            QStringLiteral("ErrorMessage="),
            QStringLiteral("Operator="),
            QStringLiteral("--end of file--")};
}

QStringList asCellLines(int cell, const QStringList& texts, int colourType)
{
    QStringList entries;
    for (const QString& text : texts)
        entries << QStringLiteral("AppendCellMessage(%1, %2, %3)").arg(QString::number(cell), text, QString::number(colourType));
    return entries;
}

// Windows whose message list and record writing fail by throwing.
class ThrowingWindows final : public RecordingWindows {
public:
    void AddMessage(const QString&, int) override { throw std::runtime_error("list failed"); }
    void ClearCellPage(int) override { throw std::runtime_error("clear failed"); }
    void WriteRecords(int, const QString&, bool) override { throw std::runtime_error("disk full"); }
};

bool lockIsFreeForAnotherThread(const QString& name)
{
    bool free = false;
    std::thread([&] {
        NamedLock lock(name);
        free = lock.tryLock();
        if (free)
            lock.unlock();
    }).join();
    return free;
}

} // namespace

class EngineDispatchTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void messageKindsChooseColourAndLevel_data();
    void messageKindsChooseColourAndLevel();
    void recordsForNoValidCellAreIgnored_data();
    void recordsForNoValidCellAreIgnored();
    void progressIsShownUpTo98Percent_data();
    void progressIsShownUpTo98Percent();
    void aFinishedCellGetsTimingResultAndRecords_data();
    void aFinishedCellGetsTimingResultAndRecords();
    void timingComparesClockFaces_data();
    void timingComparesClockFaces();
    void stopIsEnabledOnlyWhenNoCellRuns();
    void unknownFileKindsAndStatesGetAPlainLine();
    void deviceAttachedTwiceLogsConnectedOnce();
    void textsFillingTheirArrayEndAtTheArrayEnd();
    void verificationOutcomes_data();
    void verificationOutcomes();
    void mutexIsReleasedWhenAWindowFails_data();
    void mutexIsReleasedWhenAWindowFails();
    void relaysWithoutWindowsDoNothing();
    void relaysOfTheFileSelectionAndTheGrid();

private:
    DownloadController& controller() { return DownloadController::Instance(); }

    std::unique_ptr<RecordingWindows> m_windows;
    std::unique_ptr<ManualClock> m_clock;
};

void EngineDispatchTest::init()
{
    m_clock = std::make_unique<ManualClock>(kMorning);
    m_windows = std::make_unique<RecordingWindows>();
    m_windows->stopRunsController = false;
    DownloadController::SetMainFrame(m_windows.get());
    QVERIFY(controller().BindWindows());
}

void EngineDispatchTest::cleanup()
{
    QCOMPARE(m_windows->callsFromOtherThreads, 0);
    DownloadController::ReleaseEngine();
    DownloadController::SetMainFrame(nullptr);
    SetCommandLineMode(false);
    SetSoftwareVersionText(QString());
    m_windows.reset();
    m_clock.reset();
}

void EngineDispatchTest::messageKindsChooseColourAndLevel_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("colourType");
    QTest::addColumn<int>("level");
    QTest::newRow("0 error") << 0 << 3 << 2;
    QTest::newRow("1 progress") << 1 << 1 << 1;
    QTest::newRow("2 information") << 2 << 0 << 1;
    QTest::newRow("3 information") << 3 << 0 << 1;
    QTest::newRow("4 record line") << 4 << 4 << 1;
    QTest::newRow("5 marker line") << 5 << 5 << 1;
    QTest::newRow("6 unknown") << 6 << 0 << 0;
    QTest::newRow("-1 unknown") << -1 << 0 << 0;
}

void EngineDispatchTest::messageKindsChooseColourAndLevel()
{
    QFETCH(int, kind);
    QFETCH(int, colourType);
    QFETCH(int, level);
    message(3, kind, QStringLiteral("Erasing, then writing"));
    QCOMPARE(m_windows->journal, QStringList{QStringLiteral("AppendCellMessage(3, Erasing, then writing, %1)").arg(colourType)});

    m_windows->journal.clear();
    message(-1, kind, QStringLiteral("Erasing, then writing"));
    QCOMPARE(m_windows->journal, QStringList{QStringLiteral("AddMessage(Erasing, then writing, %1)").arg(level)});
}

void EngineDispatchTest::recordsForNoValidCellAreIgnored_data()
{
    QTest::addColumn<int>("cell");
    QTest::addColumn<bool>("messageToo");
    QTest::newRow("-1 outside a message") << -1 << false;
    QTest::newRow("8") << 8 << true;
    QTest::newRow("-5") << -5 << true;
    QTest::newRow("INT_MAX") << INT_MAX << true;
    QTest::newRow("INT_MIN") << INT_MIN << true;
}

void EngineDispatchTest::recordsForNoValidCellAreIgnored()
{
    QFETCH(int, cell);
    QFETCH(bool, messageToo);
    if (messageToo)
        message(cell, 0, QStringLiteral("lost"));
    progress(cell, 100, 50);
    for (int runState : {1, 2, 3})
        state(cell, 0, runState);
    device(cell, 1, QStringLiteral("USB1"));
    device(cell, 0, QStringLiteral("USB1"));
    QCOMPARE(m_windows->journal, QStringList());
}

void EngineDispatchTest::progressIsShownUpTo98Percent_data()
{
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("done");
    QTest::addColumn<int>("shown"); // -1: nothing shown
    QTest::newRow("40 %") << 100 << 40 << 40;
    QTest::newRow("98 %") << 100 << 98 << 98;
    QTest::newRow("99 % is not shown") << 100 << 99 << -1;
    QTest::newRow("100 % waits for success") << 100 << 100 << -1;
    QTest::newRow("total 0") << 0 << 5 << -1;
    QTest::newRow("truncated toward zero") << 3 << 2 << 66;
    QTest::newRow("product beyond 32 bits") << 2000000000 << 1900000000 << 95;
    QTest::newRow("INT_MAX total") << INT_MAX << INT_MAX / 2 << 49;
    QTest::newRow("negative total") << -100 << 50 << -1;
    QTest::newRow("negative done") << 100 << -5 << -1;
    QTest::newRow("both negative") << -100 << -40 << 40;
    QTest::newRow("INT_MIN done") << INT_MAX << INT_MIN << -1;
}

void EngineDispatchTest::progressIsShownUpTo98Percent()
{
    QFETCH(int, total);
    QFETCH(int, done);
    QFETCH(int, shown);
    progress(5, total, done);
    if (shown < 0) {
        QCOMPARE(m_windows->journal, QStringList());
        QCOMPARE(controller().CellProgress(5), 0);
    } else {
        QCOMPARE(m_windows->journal, QStringList{QStringLiteral("ShowCellProgress(5, %1, 1, 0)").arg(shown)});
        QCOMPARE(controller().CellProgress(5), shown);
    }
}

void EngineDispatchTest::aFinishedCellGetsTimingResultAndRecords_data()
{
    QTest::addColumn<int>("finalState");
    QTest::addColumn<QString>("finalProgress");
    QTest::addColumn<QString>("resultLine");
    QTest::newRow("passed") << 2 << "ShowCellProgress(4, 100, 2, 1)" << "AppendCellMessage(4, Downloading VKB: Successful!, 2)";
    QTest::newRow("failed at 57 %") << 3 << "ShowCellProgress(4, 57, 3, 1)" << "AppendCellMessage(4, Downloading VKB: Failed!, 3)";
}

void EngineDispatchTest::aFinishedCellGetsTimingResultAndRecords()
{
    QFETCH(int, finalState);
    QFETCH(QString, finalProgress);
    QFETCH(QString, resultLine);
    const bool passed = finalState == 2;
    state(4, 0, 1);
    progress(4, 1000, 575);
    progress(4, 1000, 990);
    m_clock->setNow(QDateTime(QDate(2014, 3, 3), QTime(11, 0, 5)));
    state(4, 0, finalState);

    QStringList expected{
        QStringLiteral("ShowCellStatus(4, 1)"),
        QStringLiteral("ShowCellState(4, 1)"),
        QStringLiteral("SetStopEnabled(0)"),
        QStringLiteral("AppendCellMessage(4, Download Started..., 1)"),
        QStringLiteral("AppendCellMessage(4, Downloading VKB: , 1)"),
        QStringLiteral("ShowCellProgress(4, 57, 1, 0)"),
        QStringLiteral("ShowCellStatus(4, %1)").arg(finalState),
        QStringLiteral("ShowCellState(4, %1)").arg(finalState),
        QStringLiteral("SetStopEnabled(1)"),
        QStringLiteral("AppendCellMessage(4, StartTime=2014-03-03 10:59:50, 4)"),
        QStringLiteral("AppendCellMessage(4, FinishTime=2014-03-03 11:00:05, 4)"),
        QStringLiteral("AppendCellMessage(4, SpendTime=15000, 4)"),
        QStringLiteral("AppendCellMessage(4, Total download time elapsed: 0 min : 15 sec, 1)"),
        finalProgress,
        resultLine,
    };
    expected << asCellLines(4, recordLinesOfResult(4, passed), 4);
    expected << QStringLiteral("WriteRecords(4, , %1)").arg(passed ? 1 : 0);
    expected << QStringLiteral("PressStop()"); // one-shot until a session start clears it
    QCOMPARE(m_windows->journal, expected);
    QCOMPARE(controller().cellRunState(4), finalState);
}

void EngineDispatchTest::timingComparesClockFaces_data()
{
    QTest::addColumn<QDateTime>("start");
    QTest::addColumn<QDateTime>("finish");
    QTest::addColumn<QStringList>("lines");
    const QDate day(2014, 3, 3);
    QTest::newRow("across midnight")
        << QDateTime(day, QTime(23, 59, 50)) << QDateTime(day.addDays(1), QTime(0, 0, 20))
        << QStringList{"StartTime=2014-03-03 23:59:50", "FinishTime=2014-03-04 00:00:20", "SpendTime=30000",
                       "Total download time elapsed: 0 min : 30 sec"};
    QTest::newRow("across the hour")
        << QDateTime(day, QTime(10, 59, 50)) << QDateTime(day, QTime(11, 0, 5))
        << QStringList{"StartTime=2014-03-03 10:59:50", "FinishTime=2014-03-03 11:00:05", "SpendTime=15000",
                       "Total download time elapsed: 0 min : 15 sec"};
    QTest::newRow("hours")
        << QDateTime(day, QTime(9, 0, 0)) << QDateTime(day, QTime(11, 30, 45))
        << QStringList{"StartTime=2014-03-03 09:00:00", "FinishTime=2014-03-03 11:30:45", "SpendTime=9045000",
                       "Total download time elapsed: 150 min : 45 sec"};
}

void EngineDispatchTest::timingComparesClockFaces()
{
    QFETCH(QDateTime, start);
    QFETCH(QDateTime, finish);
    QFETCH(QStringList, lines);
    m_clock->setNow(start);
    state(1, 2, 1);
    m_clock->setNow(finish);
    state(1, 2, 3);
    const QStringList timing = m_windows->cellLines(1, 4).mid(0, 3) + m_windows->cellLines(1, 1).mid(2, 1);
    QCOMPARE(timing, lines);
}

void EngineDispatchTest::stopIsEnabledOnlyWhenNoCellRuns()
{
    state(0, 0, 1);
    state(1, 0, 1);
    state(0, 0, 2);
    state(1, 0, 3);
    QCOMPARE(m_windows->calls(QStringLiteral("SetStopEnabled")),
             (QStringList{"SetStopEnabled(0)", "SetStopEnabled(0)", "SetStopEnabled(0)", "SetStopEnabled(1)"}));
}

void EngineDispatchTest::unknownFileKindsAndStatesGetAPlainLine()
{
    state(2, 9, 1);
    QCOMPARE(m_windows->cellLines(2), (QStringList{"Download Started...", "..."}));

    m_windows->journal.clear();
    state(2, 0, 7);
    QCOMPARE(m_windows->journal, QStringList{"AppendCellMessage(2, Downloading VKB: , 0)"});
    QCOMPARE(controller().cellRunState(2), 1);
}

void EngineDispatchTest::deviceAttachedTwiceLogsConnectedOnce()
{
    SetSoftwareVersionText(QStringLiteral("V2.1.0"));
    device(6, 1, QStringLiteral("USB1-2"));
    device(6, 1, QStringLiteral("USB1-2"));
    device(6, 0, QStringLiteral("USB1-2"));
    device(6, 0, QStringLiteral("USB1-2"));
    device(6, 7, QStringLiteral("USB1-2"));
    const QStringList attached{
        "ClearCellPage(6)",
        "AppendCellMessage(6, V2.1.0, 1)",
        "AppendCellMessage(6, Cell 6 USB address is: USB1-2, 1)",
        "AddMessage(Cell 6 USB address is: USB1-2, 0)",
    };
    const QStringList connected{"ShowCellStatus(6, 1)", "AddMessage(CELL6 detects device connected..., 0)"};
    const QStringList disconnected{"ShowCellStatus(6, 0)", "AddMessage(CELL6 detects device disconnected..., 0)"};
    QCOMPARE(m_windows->journal, attached + connected + attached + disconnected);
    QCOMPARE(controller().cellLinkState(6), 1);
}

void EngineDispatchTest::textsFillingTheirArrayEndAtTheArrayEnd()
{
    EngineMessageRecord full{};
    full.cell = 0;
    std::fill(std::begin(full.text), std::end(full.text), u'm');
    fromEngine([full] { OnEngineMessage(full); });
    QCOMPARE(m_windows->cellLines(0), QStringList{QString(kEngineMessageTextUnits, u'm')});

    EngineDeviceRecord attached{};
    attached.cell = 0;
    attached.link = 1;
    std::fill(std::begin(attached.usbAddress), std::end(attached.usbAddress), u'u');
    fromEngine([attached] { OnEngineDevice(attached); });
    QCOMPARE(m_windows->messages().value(0), QStringLiteral("Cell 0 USB address is: ") + QString(kEngineUsbAddressUnits, u'u'));

    EngineVerifyRecord verified{};
    verified.kind = 1;
    std::fill(std::begin(verified.text), std::end(verified.text), u'v');
    fromEngine([verified] { OnEngineVerify(verified); });
    QCOMPARE(m_windows->messages().last(), QString(kEngineVerifyTextUnits, u'v'));
}

void EngineDispatchTest::verificationOutcomes_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("commandLine");
    QTest::addColumn<bool>("dialogOpen");
    QTest::addColumn<QStringList>("journal");
    QTest::addColumn<bool>("verified");
    const QStringList ok{"AddMessage(Verify data file Ok!, 1)", "ConfigMessage(Verify data file Ok!, 1)"};
    QTest::newRow("passed") << 0 << 2 << false << true
                            << ok + QStringList{"SetRowValue(1, checked M18)", "SetConfigEnabled(1)", "SetCommandsEnabled(1)", "CloseConfig()"}
                            << true;
    QTest::newRow("passed, dialog closed") << 0 << 2 << false << false
                                           << QStringList{"AddMessage(Verify data file Ok!, 1)", "SetRowValue(1, checked M18)", "SetCommandsEnabled(1)"}
                                           << true;
    QTest::newRow("passed with a nonzero status") << 7 << 2 << false << true << ok << false;
    QTest::newRow("passed in command-line mode") << 0 << 2 << true << true << ok << false;
    QTest::newRow("failed") << 0 << 3 << false << true
                            << QStringList{"SetCommandsEnabled(1)", "SetFrameCommands(0)", "SetConfigEnabled(1)", "PressStop()",
                                           "AddMessage(checked M18, 2)", "ConfigMessage(checked M18, 2)"}
                            << false;
    QTest::newRow("kind 0") << 0 << 0 << false << true << QStringList{"AddMessage(checked M18, 0)", "ConfigMessage(checked M18, 0)"} << false;
    QTest::newRow("kind 1") << 0 << 1 << false << true << QStringList{"AddMessage(checked M18, 0)", "ConfigMessage(checked M18, 0)"} << false;
    QTest::newRow("kind 9") << 0 << 9 << false << true << QStringList{"AddMessage(checked M18, 0)", "ConfigMessage(checked M18, 0)"} << false;
}

void EngineDispatchTest::verificationOutcomes()
{
    QFETCH(int, status);
    QFETCH(int, kind);
    QFETCH(bool, commandLine);
    QFETCH(bool, dialogOpen);
    QFETCH(QStringList, journal);
    QFETCH(bool, verified);
    SetCommandLineMode(commandLine);
    m_windows->configDialogOpen = dialogOpen;
    verify(status, kind, QStringLiteral("checked M18"));
    QCOMPARE(m_windows->journal, journal);
    QCOMPARE(controller().isVerified(), verified);
}

void EngineDispatchTest::mutexIsReleasedWhenAWindowFails_data()
{
    QTest::addColumn<int>("operation");
    QTest::newRow("LogMessage") << 0;
    QTest::newRow("WriteCellRecords") << 1;
    QTest::newRow("ClearCell") << 2;
}

void EngineDispatchTest::mutexIsReleasedWhenAWindowFails()
{
    QFETCH(int, operation);
    ThrowingWindows failing;
    DownloadController::SetMainFrame(&failing);
    const std::function<void()> operations[] = {
        [this] { controller().LogMessage(QStringLiteral("line"), 0); },
        [this] { controller().WriteCellRecords(1, true); },
        [this] { controller().ClearCell(1); },
    };
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, operations[operation]());
    QVERIFY(lockIsFreeForAnotherThread(QStringLiteral("Mutex")));
    DownloadController::SetMainFrame(m_windows.get());
}

void EngineDispatchTest::relaysWithoutWindowsDoNothing()
{
    DownloadController::SetMainFrame(nullptr);
    QVERIFY(!controller().BindWindows());
    message(-1, 1, QStringLiteral("nobody listens"));
    controller().LogMessage(QStringLiteral("nobody listens"), 0);
    controller().ShowCellPage(3);
    controller().SetCellRunState(3, 1);
    controller().WriteCellRecords(3, true);
    controller().VerificationReported(0, 2, QStringLiteral("ok"));
    QCOMPARE(m_windows->journal, QStringList());
    QCOMPARE(controller().cellRunState(3), 1);
    QVERIFY(controller().isVerified());
}

void EngineDispatchTest::relaysOfTheFileSelectionAndTheGrid()
{
    controller().ShowCellPage(3);
    controller().ShowCellPage(8);
    controller().ShowCellPage(-1);
    controller().AddRecentPackage(QStringLiteral("/images/gps.img"), 1);
    controller().SetCommonInfo(QStringLiteral("/packages/M18.vkb"), QStringLiteral("/images/gps.img"));
    controller().EnableConfigOk(true);
    controller().SetConfigEnabled(false);
    m_windows->configDialogOpen = true;
    controller().EnableConfigOk(false);
    controller().SetConfigEnabled(false);
    controller().CloseConfig();
    QCOMPARE(m_windows->journal, (QStringList{
        "ShowPage(3)", "SelectPage(1)", "AddRecentPackage(/images/gps.img, 1)", "SetRowValue(2, /packages/M18.vkb)",
        "SetRowValue(3, /images/gps.img)", "EnableConfigOk(0)", "SetConfigEnabled(0)", "CloseConfig()"}));
}

QTEST_GUILESS_MAIN(EngineDispatchTest)
#include "EngineDispatchTest.moc"
