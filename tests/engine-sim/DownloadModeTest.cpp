// Download mode as a whole: phones coming and going, Stop, Release while phones
// are written, a bay that is empty or not there, and command-line mode.
#include "EngineHarness.h"
#include "StationFixture.h"

#include <QDir>
#include <QFile>
#include <QTest>

class DownloadModeTest : public QObject {
    Q_OBJECT

private slots:
    void phonesComeAndGoWhileDownloading();
    void stopInTheMiddleOfAWrite();
    void releaseWhilePhonesAreWritten();
    void emptyOrMissingBay_data();
    void emptyOrMissingBay();
    void commandLineVerifiesBeforeDownloading_data();
    void commandLineVerifiesBeforeDownloading();
    void secondDownloadModeIsRefused();
};

namespace {

// Slow enough that a phone is still being written many seconds after it starts.
constexpr quint64 kSlowBytesPerSecond = 24 * 1024;

QString describe(const EngineEvent& event)
{
    switch (event.type) {
    case EngineEvent::Device: return QStringLiteral("link %1").arg(event.link);
    case EngineEvent::State: return QStringLiteral("state %1").arg(event.state);
    default: return QString();
    }
}

// The cell's device and state reports, in order.
QStringList milestones(const QList<EngineEvent>& events, int cell)
{
    QStringList seen;
    for (const EngineEvent& event : events)
        if (event.cell == cell && (event.type == EngineEvent::Device || event.type == EngineEvent::State))
            seen.append(describe(event));
    return seen;
}

QStringList milestones(const EngineHarness& engine, int cell)
{
    return milestones(engine.events(), cell);
}

// Starts download mode on the station's package and waits until the bay is watched.
bool startWatching(EngineHarness& engine, const StationFixture& station)
{
    engine.setPaths(station.packagePath(), station.gpsPath());
    engine.initialise();
    engine.startRun();
    return engine.waitFor([](const QList<EngineEvent>& events) {
        return std::any_of(events.begin(), events.end(),
                           [](const EngineEvent& e) { return e.text.startsWith(QLatin1String("Download mode: watching")); });
    });
}

} // namespace

void DownloadModeTest::phonesComeAndGoWhileDownloading()
{
    StationFixture station;
    EngineHarness engine;
    QVERIFY2(engine.loaded(), qPrintable(engine.loadError()));
    QVERIFY(startWatching(engine, station));

    station.attach(3, station.phone(3, kSlowBytesPerSecond));
    QVERIFY(engine.waitForProgress({3}));
    const QList<EngineEvent> attached = engine.eventsOf(3, EngineEvent::Device);
    QCOMPARE(attached.size(), 1);
    QCOMPARE(attached.first().text, QStringLiteral("2-1.3"));

    station.detach(3);
    QVERIFY(engine.waitFor([](const QList<EngineEvent>& events) { return milestones(events, 3).size() == 4; }));
    QCOMPARE(milestones(engine, 3), QStringList({"link 1", "state 1", "state 3", "link 0"}));
    QVERIFY2(engine.messages(3, 0).value(0).startsWith(QLatin1String("Device removed while writing")),
             qPrintable(engine.messages(3, 0).value(0)));

    // Plugged in again, the phone is a new device and is written afresh.
    station.attachSoundPhones({3});
    QVERIFY(engine.waitFor([](const QList<EngineEvent>& events) { return milestones(events, 3).size() == 7; }));
    QCOMPARE(milestones(engine, 3).mid(4), QStringList({"link 1", "state 1", "state 2"}));
    QCOMPARE(station.storedImages(3).size(), station.images().size());

    engine.stop();
    QVERIFY(engine.waitForRunToReturn());
}

void DownloadModeTest::stopInTheMiddleOfAWrite()
{
    StationFixture station;
    station.attachSoundPhones({0, 1}, kSlowBytesPerSecond);
    station.attachSoundPhones({2});
    EngineHarness engine;
    QVERIFY2(engine.loaded(), qPrintable(engine.loadError()));
    engine.setPaths(station.packagePath(), station.gpsPath());
    engine.initialise();
    engine.startRun();
    QVERIFY(engine.waitForFinalStates({2}));
    QVERIFY(engine.waitForProgress({0, 1}));

    engine.stop();
    QVERIFY(engine.waitForRunToReturn());
    QCOMPARE(engine.runResult(), 1);
    for (int cell : {0, 1}) {
        QCOMPARE(milestones(engine, cell), QStringList({"link 1", "state 1", "state 3"}));
        QVERIFY2(engine.messages(cell, 0).value(0).startsWith(QLatin1String("Download stopped while writing")),
                 qPrintable(engine.messages(cell, 0).value(0)));
        QVERIFY(engine.messages(cell, 4).contains(QStringLiteral("TestStation=DOWNLOAD")));
    }
    QCOMPARE(milestones(engine, 2), QStringList({"link 1", "state 1", "state 2"}));
    QVERIFY(engine.messages(-1, 2).contains(QStringLiteral("Download mode ended")));

    // Nothing runs on once DownloadRun has returned.
    const int reports = engine.events().size();
    QTest::qWait(300);
    QCOMPARE(engine.events().size(), reports);
}

void DownloadModeTest::releaseWhilePhonesAreWritten()
{
    const int threadsBefore = EngineHarness::threadCount();
    StationFixture station;
    const QList<int> cells = {0, 1, 2, 3, 4, 5, 6, 7};
    station.attachSoundPhones(cells, kSlowBytesPerSecond);
    {
        EngineHarness engine;
        QVERIFY2(engine.loaded(), qPrintable(engine.loadError()));
        engine.setPaths(station.packagePath(), station.gpsPath());
        engine.initialise();
        engine.startRun();
        QVERIFY(engine.waitForProgress(cells));
        QVERIFY(EngineHarness::threadCount() >= threadsBefore + 9);

        engine.release();
        // Release returns only when the phones have given up and download mode has ended.
        for (int cell : cells)
            QCOMPARE(engine.states(cell), QList<int>({1, 3}));
        QVERIFY(engine.waitForRunToReturn());

        // The engine is usable again after a release.
        engine.setPaths(station.packagePath(), QString());
        engine.initialise();
        QCOMPARE(engine.verify(), 1);
    }
    // The harness has unloaded the library; every thread the engine started is gone.
    QCOMPARE(EngineHarness::threadCount(), threadsBefore);
}

void DownloadModeTest::emptyOrMissingBay_data()
{
    QTest::addColumn<bool>("missing");
    QTest::newRow("empty") << false;
    QTest::newRow("missing") << true;
}

void DownloadModeTest::emptyOrMissingBay()
{
    QFETCH(bool, missing);
    StationFixture station;
    if (missing)
        QVERIFY(QDir(station.bayPath()).removeRecursively());
    EngineHarness engine;
    QVERIFY2(engine.loaded(), qPrintable(engine.loadError()));
    QVERIFY(startWatching(engine, station));
    QCOMPARE(engine.messages(-1, 0).filter(QStringLiteral("does not exist")).size(), missing ? 1 : 0);

    // The bay is still watched: a phone that turns up is written.
    station.attachSoundPhones({5});
    QVERIFY(engine.waitForFinalStates({5}));
    QCOMPARE(milestones(engine, 5), QStringList({"link 1", "state 1", "state 2"}));
    engine.stop();
    QVERIFY(engine.waitForRunToReturn());
    for (int cell : {0, 1, 2, 3, 4, 6, 7})
        QVERIFY(engine.eventsOf(cell).isEmpty());
    QCOMPARE(engine.messages(-1, 0).filter(QStringLiteral("does not exist")).size(), missing ? 1 : 0);
}

void DownloadModeTest::commandLineVerifiesBeforeDownloading_data()
{
    QTest::addColumn<bool>("damaged");
    QTest::newRow("sound package") << false;
    QTest::newRow("damaged package") << true;
}

void DownloadModeTest::commandLineVerifiesBeforeDownloading()
{
    QFETCH(bool, damaged);
    StationFixture station;
    station.attachSoundPhones({1});
    if (damaged) {
        QFile package(station.packagePath());
        QVERIFY(package.open(QIODevice::ReadWrite));
        package.seek(package.size() - 10);
        package.write("garbage!");
    }
    EngineHarness engine;
    QVERIFY2(engine.loaded(), qPrintable(engine.loadError()));
    engine.setPaths(station.packagePath(), station.gpsPath());
    engine.startCommandLine();
    if (damaged) {
        QVERIFY(engine.waitForRunToReturn());
        QCOMPARE(engine.runResult(), 0);
        QCOMPARE(engine.finalVerification()->kind, 3);
        QVERIFY(engine.eventsOf(1).isEmpty());
        return;
    }
    QVERIFY(engine.waitForFinalStates({1}));
    QCOMPARE(engine.finalVerification()->kind, 2);
    QCOMPARE(engine.finalVerification()->text, QString::fromLatin1(StationFixture::kModel));
    QCOMPARE(milestones(engine, 1), QStringList({"link 1", "state 1", "state 2"}));
    engine.stop();
    QVERIFY(engine.waitForRunToReturn());
    QCOMPARE(engine.runResult(), 1);
}

void DownloadModeTest::secondDownloadModeIsRefused()
{
    StationFixture station;
    EngineHarness engine;
    QVERIFY2(engine.loaded(), qPrintable(engine.loadError()));
    QVERIFY(startWatching(engine, station));
    QCOMPARE(engine.runHere(), 0);
    QCOMPARE(engine.messages(-1, 0), QStringList({"Download mode is already on"}));
    engine.stop();
    QVERIFY(engine.waitForRunToReturn());
    QCOMPARE(engine.runResult(), 1);
}

QTEST_GUILESS_MAIN(DownloadModeTest)
#include "DownloadModeTest.moc"
