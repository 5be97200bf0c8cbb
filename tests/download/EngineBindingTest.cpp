#include "download/EngineBinding.h"
#include "download/EngineCallbacks.h"
#include "download/EngineEvent.h"
#include "platform/MessageBox.h"
#include "platform/ProgramDirectory.h"
#include "tests/download/SessionFolder.h"
#include "tests/download/TestEngineProbe.h"
#include "tests/support/MessageBoxRecorder.h"

#include <QDir>
#include <QRegularExpression>
#include <QTest>

#include <atomic>
#include <thread>

namespace {

// Keeps every event it receives, as the main frame's handler would see them.
class EventSink final : public QObject {
public:
    QList<int> types;
    QList<EngineProgressRecord> progress;

    bool event(QEvent* event) override
    {
        types << int(event->type());
        if (event->type() == EngineProgressEvent::kType)
            progress << static_cast<EngineProgressEvent*>(event)->record();
        return true;
    }
};

EngineBinding::Session session(int role, const DownloadOptions& options = DownloadOptions())
{
    return {QStringLiteral("/packages/M18.vkb"), QString(), role, options};
}

DownloadOptions allOptions()
{
    return {1, 1, 1, 1, 1, 1, 1, 1, 1};
}

} // namespace

Q_DECLARE_METATYPE(DownloadOptions)

class EngineBindingTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void loadsFromTheProgramDirectoryNeverTheCurrentOne();
    void refusesALibraryThatLacksAnExport();
    void fillsTheParameterBlock_data();
    void fillsTheParameterBlock();
    void secondBindReusesTheLoadedLibrary();
    void callbacksPostOnlyToABoundReceiver();
    void releaseUnloadsOnceTheWorkersHaveLeft();
    void releaseLeavesTheLibraryLoadedWhileAWorkerStaysInside();
    void aWorkerNotYetInsideStaysOutDuringRelease();

private:
    MessageBoxRecorder m_messageBoxes;
};

void EngineBindingTest::init()
{
    m_messageBoxes.clear();
}

void EngineBindingTest::cleanup()
{
    EngineBinding::instance().setReleaseWaitLimit(EngineBinding::kDefaultReleaseWaitMilliseconds);
    EngineBinding::instance().ReleaseEngine();
    EngineBinding::instance().setReceiver(nullptr);
}

void EngineBindingTest::loadsFromTheProgramDirectoryNeverTheCurrentOne()
{
    SessionFolder planted;
    SessionFolder program;
    QFile::remove(program.enginePath());
    const QString previousDirectory = QDir::currentPath();
    QVERIFY(QDir::setCurrent(planted.path()));
    Platform::setProgramDirectory(program.path());

    EngineBinding& binding = EngineBinding::instance();
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^The engine library could not be loaded: .*libMarlow.so")));
    QVERIFY(!binding.BindEngine(session(1)));
    QCOMPARE(m_messageBoxes.texts(), QStringList{QStringLiteral("Fatal error: load download library failed!")});
    QVERIFY(!binding.isLoaded());
    QVERIFY(!TestEngineProbe(planted.enginePath()).isLoaded());

    // The next session start tries again, and finds the library once it is installed.
    QVERIFY(QFile::copy(QStringLiteral(TEST_ENGINE_LIBRARY), program.enginePath()));
    QVERIFY(binding.BindEngine(session(1)));
    QVERIFY(TestEngineProbe(program.enginePath()).isLoaded());
    QVERIFY(!TestEngineProbe(planted.enginePath()).isLoaded());
    QDir::setCurrent(previousDirectory);
}

void EngineBindingTest::refusesALibraryThatLacksAnExport()
{
    SessionFolder folder(QStringLiteral(TEST_ENGINE_WITHOUT_STOP_LIBRARY));
    EngineBinding& binding = EngineBinding::instance();
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("does not export DownloadStop$")));
    QVERIFY(!binding.BindEngine(session(1)));
    QCOMPARE(m_messageBoxes.texts(), QStringList{QStringLiteral("Fatal error: load download library failed!")});
    QVERIFY2(binding.lastError().contains(QStringLiteral("DownloadStop")), qPrintable(binding.lastError()));
    QVERIFY(!binding.isLoaded());
    QVERIFY(!TestEngineProbe(folder.enginePath()).isLoaded());
}

void EngineBindingTest::fillsTheParameterBlock_data()
{
    QTest::addColumn<int>("role");
    QTest::addColumn<DownloadOptions>("options");
    QTest::addColumn<int>("CKeMMC");
    QTest::newRow("role 1, all options") << 1 << allOptions() << 1;
    QTest::newRow("role 3, all options") << 3 << allOptions() << 1;
    QTest::newRow("role 4 never checks the eMMC") << 4 << allOptions() << 0;
    QTest::newRow("role 2, no options") << 2 << DownloadOptions() << 0;
}

void EngineBindingTest::fillsTheParameterBlock()
{
    QFETCH(int, role);
    QFETCH(DownloadOptions, options);
    QFETCH(int, CKeMMC);
    SessionFolder folder;
    EngineBinding& binding = EngineBinding::instance();
    QVERIFY(binding.BindEngine({QStringLiteral("/packages/Ünïcode M18.vkb"), QString(), role, options}));
    binding.InitDownloadObj();

    const QList<TestEngineParamsSeen> seen = TestEngineProbe(folder.enginePath()).paramsSeen();
    QCOMPARE(seen.size(), 1);
    const EngineParams& block = seen[0].block;
    QCOMPARE(QString::fromUtf16(seen[0].packagePath), QStringLiteral("/packages/Ünïcode M18.vkb"));
    QCOMPARE(QString::fromUtf16(seen[0].imagePath), QString());
    QVERIFY(block.imagePath != nullptr);
    QCOMPARE(block.reserved, 0);
    QCOMPARE(block.role, role);
    QCOMPARE(block.ready, 1);
    QCOMPARE(block.DownLoadVKB, options.DownLoadVKB);
    QCOMPARE(block.CKPhoneName, options.CKPhoneName);
    QCOMPARE(block.CKeMMC, CKeMMC);
    QCOMPARE(block.DownUserdata, options.DownUserdata);
    QVERIFY(block.onVerify == &OnEngineVerify);
    QVERIFY(block.onDevice == &OnEngineDevice);
    QVERIFY(block.onMessage == &OnEngineMessage);
    QVERIFY(block.onProgress == &OnEngineProgress);
    QVERIFY(block.onState == &OnEngineState);
}

void EngineBindingTest::secondBindReusesTheLoadedLibrary()
{
    SessionFolder folder;
    EngineBinding& binding = EngineBinding::instance();
    QVERIFY(binding.BindEngine(session(1)));
    binding.InitDownloadObj();
    QVERIFY(binding.BindEngine(session(3, allOptions())));
    binding.InitDownloadObj();

    // A reloaded library would have forgotten the first call.
    const TestEngineProbe engine(folder.enginePath());
    QCOMPARE(engine.calls(), (QStringList{QStringLiteral("InitDownloadObj"), QStringLiteral("InitDownloadObj")}));
    const QList<TestEngineParamsSeen> seen = engine.paramsSeen();
    QCOMPARE(seen[0].block.role, 1);
    QCOMPARE(seen[1].block.role, 3);
    QCOMPARE(seen[1].block.CKFuse, 1);
}

void EngineBindingTest::callbacksPostOnlyToABoundReceiver()
{
    EventSink sink;
    std::thread([] { OnEngineProgress(2, 100, 40); }).join();
    QCoreApplication::sendPostedEvents();
    QVERIFY(sink.types.isEmpty());

    EngineBinding::instance().setReceiver(&sink);
    std::thread([] {
        OnEngineMessage(EngineMessageRecord{});
        OnEngineProgress(2, 100, 40);
        OnEngineState(2, 0, 1);
        OnEngineDevice(EngineDeviceRecord{});
        OnEngineVerify(EngineVerifyRecord{});
    }).join();
    QCoreApplication::sendPostedEvents();
    QCOMPARE(sink.types, (QList<int>{1624, 1625, 1626, 1627, 1628}));
    QCOMPARE(sink.progress.size(), 1);
    QCOMPARE(sink.progress[0].cell, 2);
    QCOMPARE(sink.progress[0].total, 100);
    QCOMPARE(sink.progress[0].done, 40);

    // Records still queued for a receiver that goes away are freed with it.
    OnEngineProgress(3, 100, 50);
    EngineBinding::instance().setReceiver(nullptr);
}

void EngineBindingTest::releaseUnloadsOnceTheWorkersHaveLeft()
{
    SessionFolder folder;
    const TestEngineProbe engine(folder.enginePath());
    EngineBinding& binding = EngineBinding::instance();
    QVERIFY(binding.BindEngine(session(1)));
    binding.InitDownloadObj();
    binding.startWorker([&binding] {
        if (binding.enterUnlessReleasing(nullptr))
            binding.DownloadRun();
    });
    QTRY_COMPARE(engine.threadsInside(), 1);

    binding.ReleaseEngine();
    QVERIFY(!binding.isLoaded());
    QVERIFY(!engine.isLoaded());
}

void EngineBindingTest::releaseLeavesTheLibraryLoadedWhileAWorkerStaysInside()
{
    SessionFolder folder;
    const TestEngineProbe engine(folder.enginePath());
    EngineBinding& binding = EngineBinding::instance();
    QVERIFY(binding.BindEngine(session(1)));
    binding.InitDownloadObj();
    engine.holdInRun(true);
    binding.startWorker([&binding] {
        if (binding.enterUnlessReleasing(nullptr))
            binding.DownloadRun();
    });
    QTRY_COMPARE(engine.threadsInside(), 1);

    binding.setReleaseWaitLimit(200);
    QTest::ignoreMessage(QtWarningMsg, "The engine library stays loaded: a worker has not come back from it");
    binding.ReleaseEngine();
    QVERIFY(binding.isLoaded());
    QVERIFY(engine.isLoaded());
    QVERIFY(engine.calls().contains(QStringLiteral("ReleaseDownloadObj")));

    engine.letGo();
    QTRY_COMPARE(engine.threadsInside(), 0);
    binding.ReleaseEngine();
    QVERIFY(!engine.isLoaded());
}

void EngineBindingTest::aWorkerNotYetInsideStaysOutDuringRelease()
{
    SessionFolder folder;
    const TestEngineProbe engine(folder.enginePath());
    EngineBinding& binding = EngineBinding::instance();
    QVERIFY(binding.BindEngine(session(1)));
    binding.InitDownloadObj();
    std::atomic<int> admitted{-1};
    binding.startWorker([&] {
        while (!engine.calls().contains(QStringLiteral("ReleaseDownloadObj")))
            std::this_thread::yield();
        const bool enter = binding.enterUnlessReleasing([] { return true; });
        admitted = enter ? 1 : 0;
        if (enter)
            binding.DownloadRun();
    });

    binding.ReleaseEngine();
    QCOMPARE(admitted.load(), 0);
    QVERIFY(!engine.isLoaded());
}

QTEST_GUILESS_MAIN(EngineBindingTest)
#include "EngineBindingTest.moc"
