#include "download/DownloadController.h"
#include "download/EngineBinding.h"
#include "download/ProcessGlobals.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "platform/NamedLock.h"
#include "tests/download/RecordingWindows.h"
#include "tests/download/SessionFolder.h"
#include "tests/download/TestEngineProbe.h"
#include "tests/support/ManualClock.h"
#include "tests/support/MessageBoxRecorder.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace {

const QString kVerified = QStringLiteral("M18 package checked");

DownloadOptions allOptions()
{
    return {1, 1, 1, 1, 1, 1, 1, 1, 1};
}

QList<int> optionsOf(const EngineParams& block)
{
    return {block.DownLoadVKB, block.DownloadRES, block.CKPhoneName, block.CKeMMC, block.CKFuse,
            block.CKInstrument, block.DownLK, block.DownSystem, block.DownUserdata};
}

// A clock whose sleeps last until the test opens them.
class HeldClock final : public Clock {
public:
    HeldClock() { Clock::setInstance(this); }
    ~HeldClock() override { Clock::setInstance(nullptr); }

    QDateTime now() const override { return QDateTime(QDate(2014, 3, 3), QTime(9, 5, 0)); }
    void sleep(int) override
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        ++m_sleepers;
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return m_open; });
    }
    void waitForSleeper()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [this] { return m_sleepers > 0; });
    }
    void open()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_open = true;
        m_changed.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_sleepers = 0;
    bool m_open = false;
};

} // namespace

class DownloadSessionTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void verifiedPackageThenStartEntersDownloadMode();
    void startWithoutAVerifiedPackageVerifiesThenDownloads();
    void stopThenStartDoesNotVerifyAgain();
    void failedVerificationLeavesDownloadMode();
    void passedWithNonzeroStatusIsNotVerified();
    void oneShotLeavesDownloadModeAfterAFinishedCell_data();
    void oneShotLeavesDownloadModeAfterAFinishedCell();
    void commandLineModeDownloadsWithoutVerifying();
    void sessionStartNeedsAReadablePackage_data();
    void sessionStartNeedsAReadablePackage();
    void roleOutsideOneToFourStartsNothing_data();
    void roleOutsideOneToFourStartsNothing();
    void missingEngineLeavesTheCommandsDisabled();
    void emptyImagePathKeepsThePreviousOne();
    void secondSessionStartReinitialisesWithoutReloading();
    void optionsReachTheEngineOnlyAtSessionStart_data();
    void optionsReachTheEngineOnlyAtSessionStart();
    void workerEntersTheEngineWhileTheInterfaceHoldsMutex();
    void closingReleasesTheEngineAfterTheWorkerLeaves();
    void closingBeforeAnySessionTouchesNoEngine();
    void closingWhileTheWorkerWaitsKeepsItOutOfTheEngine();

private:
    DownloadController& controller() { return DownloadController::Instance(); }
    TestEngineProbe engine() const { return TestEngineProbe(m_folder->enginePath()); }
    void writeConfig(const QString& imagePath = QString());
    void verifyPassed(int status = 0);
    void startVerifiedSession();
    void pressStart(const DownloadOptions& options = DownloadOptions());
    void waitInDownloadMode(int runs = 1);

    std::unique_ptr<SessionFolder> m_folder;
    std::unique_ptr<RecordingWindows> m_windows;
    std::unique_ptr<ManualClock> m_clock;
    QString m_package;
    MessageBoxRecorder m_messageBoxes;
};

void DownloadSessionTest::init()
{
    m_folder = std::make_unique<SessionFolder>();
    m_package = m_folder->writePackage(QStringLiteral("M18.vkb"), "M18");
    m_clock = std::make_unique<ManualClock>(QDateTime(QDate(2014, 3, 3), QTime(9, 5, 0)));
    m_windows = std::make_unique<RecordingWindows>();
    m_windows->configDialogOpen = true;
    DownloadController::SetMainFrame(m_windows.get());
    g_nUserRole = 1;
    m_messageBoxes.clear();
}

void DownloadSessionTest::cleanup()
{
    QCOMPARE(m_windows->callsFromOtherThreads, 0);
    engine().letGo();
    DownloadController::ReleaseEngine();
    QVERIFY(!engine().isLoaded());
    DownloadController::SetMainFrame(nullptr);
    SetCommandLineMode(false);
    g_nUserRole = 4;
    m_windows.reset();
    m_clock.reset();
    m_folder.reset();
}

void DownloadSessionTest::writeConfig(const QString& imagePath)
{
    m_folder->writeUserConfig(m_package, imagePath);
}

void DownloadSessionTest::verifyPassed(int status)
{
    QTRY_VERIFY(engine().calls().contains(QStringLiteral("VerifyDataofVKB")));
    engine().fireVerify(status, 2, kVerified);
    QCoreApplication::sendPostedEvents();
}

void DownloadSessionTest::startVerifiedSession()
{
    writeConfig();
    QCOMPARE(controller().StartSession(0), 1);
    verifyPassed();
    QVERIFY(controller().isVerified());
}

void DownloadSessionTest::pressStart(const DownloadOptions& options)
{
    controller().SetOptions(options);
    controller().OnStartPressed();
}

void DownloadSessionTest::waitInDownloadMode(int runs)
{
    QTRY_COMPARE(engine().threadsInside(), 1);
    QTRY_COMPARE(m_windows->messages().count(QStringLiteral("Entering download mode...")), runs);
}

void DownloadSessionTest::verifiedPackageThenStartEntersDownloadMode()
{
    writeConfig();
    QCOMPARE(controller().StartSession(0), 1);
    QCOMPARE(m_windows->journal.value(0), QStringLiteral("SetCommandsEnabled(0)"));
    QCOMPARE(controller().modelName(), QStringLiteral("M18"));
    QCOMPARE(controller().packagePath(), m_package);
    verifyPassed();
    QCOMPARE(m_windows->journal.mid(1), (QStringList{
        "AddMessage(Verify data file Ok!, 1)", "ConfigMessage(Verify data file Ok!, 1)", "SetRowValue(1, " + kVerified + ")",
        "SetConfigEnabled(1)", "SetCommandsEnabled(1)", "CloseConfig()"}));
    QCOMPARE(engine().calls(), (QStringList{"InitDownloadObj", "VerifyDataofVKB"}));

    m_windows->journal.clear();
    pressStart();
    waitInDownloadMode();
    QCOMPARE(m_windows->journal, (QStringList{"AddMessage(Entering download mode..., 0)", "SetFrameCommands(0)"}));
    QCOMPARE(engine().calls(), (QStringList{"InitDownloadObj", "VerifyDataofVKB", "DownloadRun 0"}));
    QCOMPARE(m_clock->sleptMilliseconds(), 1000);
}

void DownloadSessionTest::startWithoutAVerifiedPackageVerifiesThenDownloads()
{
    writeConfig();
    pressStart();
    QCOMPARE(controller().Mode(), 1);
    verifyPassed();
    QVERIFY(m_windows->journal.contains(QStringLiteral("SetStopEnabled(1)")));
    waitInDownloadMode();
    QCOMPARE(engine().calls(), (QStringList{"InitDownloadObj", "VerifyDataofVKB", "DownloadRun 0"}));
}

void DownloadSessionTest::stopThenStartDoesNotVerifyAgain()
{
    startVerifiedSession();
    pressStart();
    waitInDownloadMode();
    engine().fireState(3, 0, 1);
    QCoreApplication::sendPostedEvents();

    m_windows->journal.clear();
    controller().OnStopPressed();
    QCOMPARE(m_windows->journal, (QStringList{"SetFrameCommands(1)", "AddMessage(Exit download mode..., 0)"}));
    QTRY_COMPARE(engine().threadsInside(), 0);
    QCOMPARE(m_clock->sleptMilliseconds(), 2000);

    m_windows->journal.clear();
    pressStart();
    QCOMPARE(controller().cellRunState(3), 0);
    waitInDownloadMode(1);
    QCOMPARE(engine().calls(), (QStringList{"InitDownloadObj", "VerifyDataofVKB", "DownloadRun 0", "DownloadStop", "DownloadRun 0"}));
    QVERIFY(m_windows->calls(QStringLiteral("ShowCellStatus")).isEmpty());
}

void DownloadSessionTest::failedVerificationLeavesDownloadMode()
{
    writeConfig();
    QCOMPARE(controller().StartSession(0), 1);
    QTRY_VERIFY(engine().calls().contains(QStringLiteral("VerifyDataofVKB")));
    m_windows->journal.clear();
    engine().fireVerify(0, 3, QStringLiteral("VKB checksum wrong"));
    QCoreApplication::sendPostedEvents();
    QCOMPARE(m_windows->journal, (QStringList{
        "SetCommandsEnabled(1)", "SetFrameCommands(0)", "SetConfigEnabled(1)", "PressStop()", "SetFrameCommands(1)",
        "AddMessage(Exit download mode..., 0)", "AddMessage(VKB checksum wrong, 2)", "ConfigMessage(VKB checksum wrong, 2)"}));
    QCOMPARE(engine().calls().last(), QStringLiteral("DownloadStop"));
    QVERIFY(!controller().isVerified());

    pressStart();
    QTRY_COMPARE(engine().calls().count(QStringLiteral("VerifyDataofVKB")), 2);
}

void DownloadSessionTest::passedWithNonzeroStatusIsNotVerified()
{
    writeConfig();
    QCOMPARE(controller().StartSession(0), 1);
    verifyPassed(1);
    QVERIFY(!controller().isVerified());
    QVERIFY(m_windows->messages().contains(QStringLiteral("Verify data file Ok!")));
    QVERIFY(m_windows->calls(QStringLiteral("CloseConfig")).isEmpty());

    pressStart();
    QTRY_COMPARE(engine().calls(), (QStringList{"InitDownloadObj", "VerifyDataofVKB", "InitDownloadObj", "VerifyDataofVKB"}));
}

void DownloadSessionTest::oneShotLeavesDownloadModeAfterAFinishedCell_data()
{
    QTest::addColumn<int>("role");
    QTest::addColumn<bool>("commandLine");
    QTest::addColumn<bool>("leaves");
    QTest::newRow("role 1 stays") << 1 << false << false;
    QTest::newRow("role 2 stays") << 2 << false << false;
    QTest::newRow("role 3 leaves") << 3 << false << true;
    QTest::newRow("role 4 leaves") << 4 << false << true;
    QTest::newRow("command-line mode leaves, even for role 1") << 1 << true << true;
}

void DownloadSessionTest::oneShotLeavesDownloadModeAfterAFinishedCell()
{
    QFETCH(int, role);
    QFETCH(bool, commandLine);
    QFETCH(bool, leaves);
    g_nUserRole = role;
    SetCommandLineMode(commandLine);
    writeConfig();
    pressStart();
    if (!commandLine)
        verifyPassed();
    QTRY_COMPARE(engine().threadsInside(), 1);

    engine().fireState(2, 0, 1);
    engine().fireState(2, 0, 2);
    QCoreApplication::sendPostedEvents();
    QCOMPARE(controller().isOneShot(), role > 2);
    QCOMPARE(m_windows->calls(QStringLiteral("PressStop")).size(), leaves ? 1 : 0);
    QCOMPARE(engine().calls().contains(QStringLiteral("DownloadStop")), leaves);
    QTRY_COMPARE(engine().threadsInside(), leaves ? 0 : 1);
}

void DownloadSessionTest::commandLineModeDownloadsWithoutVerifying()
{
    SetCommandLineMode(true);
    g_nUserRole = 4;
    writeConfig();
    pressStart(allOptions());
    QCOMPARE(m_windows->journal, (QStringList{"SetCommandsEnabled(0)", "SetCommandsEnabled(1)"}));
    waitInDownloadMode();
    QCOMPARE(engine().calls(), QStringList{"DownloadCommandline"});
    const QList<TestEngineParamsSeen> seen = engine().paramsSeen();
    QCOMPARE(QString::fromUtf16(seen.value(0).packagePath), m_package);
    QCOMPARE(seen.value(0).block.role, 4);
    QCOMPARE(seen.value(0).block.CKeMMC, 0);

    // A passed verification report neither verifies nor starts a second worker.
    engine().fireVerify(0, 2, kVerified);
    QCoreApplication::sendPostedEvents();
    QVERIFY(!controller().isVerified());
    QTest::qWait(50);
    QCOMPARE(engine().threadsInside(), 1);
}

void DownloadSessionTest::sessionStartNeedsAReadablePackage_data()
{
    QTest::addColumn<QString>("setup");
    QTest::newRow("no configuration file") << "no file";
    QTest::newRow("empty VKB_PATH") << "empty";
    QTest::newRow("package missing") << "missing";
    QTest::newRow("header not recognised") << "unrecognised";
}

void DownloadSessionTest::sessionStartNeedsAReadablePackage()
{
    QFETCH(QString, setup);
    if (setup == QLatin1String("empty"))
        m_folder->writeUserConfig(QString(), QString());
    else if (setup == QLatin1String("missing"))
        m_folder->writeUserConfig(m_folder->path() + QStringLiteral("gone.vkb"), QString());
    else if (setup == QLatin1String("unrecognised"))
        m_folder->writeUserConfig(m_folder->enginePath(), QString());

    QCOMPARE(controller().StartSession(0), 0);
    QCOMPARE(m_windows->journal, QStringList{"AddMessage(Could not find the VKB file path in UserConfig.xml!, 2)"});
    QVERIFY(!engine().isLoaded());
    QVERIFY(m_messageBoxes.texts().isEmpty());
}

void DownloadSessionTest::roleOutsideOneToFourStartsNothing_data()
{
    QTest::addColumn<int>("role");
    QTest::newRow("0") << 0;
    QTest::newRow("5") << 5;
    QTest::newRow("-1") << -1;
}

void DownloadSessionTest::roleOutsideOneToFourStartsNothing()
{
    QFETCH(int, role);
    g_nUserRole = role;
    writeConfig();
    QCOMPARE(controller().StartSession(1), 0);
    QCOMPARE(m_windows->journal, QStringList());
    QCOMPARE(controller().role(), 1);
    QCOMPARE(controller().packagePath(), QString());
    QVERIFY(!engine().isLoaded());
}

void DownloadSessionTest::missingEngineLeavesTheCommandsDisabled()
{
    writeConfig();
    QVERIFY(QFile::remove(m_folder->enginePath()));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^The engine library could not be loaded")));
    QCOMPARE(controller().StartSession(0), 0);
    QCOMPARE(m_messageBoxes.texts(), QStringList{"Fatal error: load download library failed!"});
    QCOMPARE(m_windows->calls(QStringLiteral("SetCommandsEnabled")), QStringList{"SetCommandsEnabled(0)"});
    const QString reason = m_windows->journal.last();
    QVERIFY2(reason.startsWith(QStringLiteral("AddMessage(The engine library could not be loaded: ")) && reason.endsWith(QStringLiteral(", 2)")),
             qPrintable(reason));
}

void DownloadSessionTest::emptyImagePathKeepsThePreviousOne()
{
    const QString image = m_folder->path() + QStringLiteral("gps.img");
    writeConfig(image);
    QCOMPARE(controller().StartSession(0), 1);
    writeConfig(QString());
    QCOMPARE(controller().StartSession(0), 1);
    QCOMPARE(controller().imagePath(), image);
    QTRY_COMPARE(engine().paramsSeen().size(), 2);
    QCOMPARE(QString::fromUtf16(engine().paramsSeen()[1].imagePath), image);
}

void DownloadSessionTest::secondSessionStartReinitialisesWithoutReloading()
{
    startVerifiedSession();
    QCOMPARE(controller().StartSession(0), 1);
    QVERIFY(!controller().isVerified());
    QTRY_COMPARE(engine().calls(), (QStringList{"InitDownloadObj", "VerifyDataofVKB", "InitDownloadObj", "VerifyDataofVKB"}));
}

void DownloadSessionTest::optionsReachTheEngineOnlyAtSessionStart_data()
{
    QTest::addColumn<int>("role");
    QTest::addColumn<QList<int>>("later");
    QTest::newRow("role 3") << 3 << QList<int>{1, 1, 1, 1, 1, 1, 1, 1, 1};
    QTest::newRow("role 4 never checks the eMMC") << 4 << QList<int>{1, 1, 1, 0, 1, 1, 1, 1, 1};
}

void DownloadSessionTest::optionsReachTheEngineOnlyAtSessionStart()
{
    QFETCH(int, role);
    QFETCH(QList<int>, later);
    g_nUserRole = role;
    startVerifiedSession();
    pressStart(allOptions());
    waitInDownloadMode();
    controller().OnStopPressed();
    QCOMPARE(controller().StartSession(0), 1);

    const QList<TestEngineParamsSeen> seen = engine().paramsSeen();
    QCOMPARE(seen.size(), 3);
    const QList<int> none(9, 0);
    QCOMPARE(QString::fromLatin1(seen[0].call), QStringLiteral("InitDownloadObj"));
    QCOMPARE(optionsOf(seen[0].block), none);
    QCOMPARE(QString::fromLatin1(seen[1].call), QStringLiteral("DownloadRun 0"));
    QCOMPARE(optionsOf(seen[1].block), none);
    QCOMPARE(QString::fromLatin1(seen[2].call), QStringLiteral("InitDownloadObj"));
    QCOMPARE(optionsOf(seen[2].block), later);
    QCOMPARE(seen[2].block.reserved, 0);
    QCOMPARE(seen[2].block.ready, 1);
}

// The worker hands its log line over and goes on into the engine, even while
// the user-interface thread holds "Mutex" and handles no events.
void DownloadSessionTest::workerEntersTheEngineWhileTheInterfaceHoldsMutex()
{
    startVerifiedSession();
    m_windows->journal.clear();
    NamedLock mutex(QStringLiteral("Mutex"));
    mutex.lock();
    pressStart();
    QDeadlineTimer deadline(10000);
    while (engine().threadsInside() == 0 && !deadline.hasExpired())
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const bool entered = engine().threadsInside() == 1;
    mutex.unlock();
    QVERIFY(entered);
    QCOMPARE(m_windows->journal, QStringList());

    QCoreApplication::sendPostedEvents();
    QCOMPARE(m_windows->journal, (QStringList{"AddMessage(Entering download mode..., 0)", "SetFrameCommands(0)"}));
}

void DownloadSessionTest::closingReleasesTheEngineAfterTheWorkerLeaves()
{
    startVerifiedSession();
    pressStart();
    waitInDownloadMode();
    DownloadController::ReleaseEngine();
    QCOMPARE(DownloadController::Existing(), nullptr);
    QVERIFY(!engine().isLoaded());
    QVERIFY(!EngineBinding::instance().isLoaded());
}

void DownloadSessionTest::closingBeforeAnySessionTouchesNoEngine()
{
    controller();
    DownloadController::ReleaseEngine();
    QCOMPARE(DownloadController::Existing(), nullptr);
    QVERIFY(!engine().isLoaded());
    QCOMPARE(m_windows->journal, QStringList());
}

// The worker is still in its second of waiting when the window closes: it must
// neither enter the released engine nor touch the destroyed controller.
void DownloadSessionTest::closingWhileTheWorkerWaitsKeepsItOutOfTheEngine()
{
    startVerifiedSession();
    HeldClock clock;
    pressStart();
    clock.waitForSleeper();
    const TestEngineProbe probe = engine();
    std::thread opener([&clock, probe] {
        while (!probe.calls().contains(QStringLiteral("ReleaseDownloadObj")))
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        clock.open();
    });
    EngineBinding::instance().setReleaseWaitLimit(3000);
    DownloadController::ReleaseEngine();
    EngineBinding::instance().setReleaseWaitLimit(EngineBinding::kDefaultReleaseWaitMilliseconds);
    opener.join();
    QVERIFY(!engine().isLoaded());
    QCoreApplication::sendPostedEvents();
    QVERIFY(!m_windows->messages().contains(QStringLiteral("Entering download mode...")));
}

QTEST_GUILESS_MAIN(DownloadSessionTest)
#include "DownloadSessionTest.moc"
