// How the engine downloads to the phones of a bay: in parallel, honouring the
// nine options, and reporting each phone's run the way the program reads it.
#include "EngineHarness.h"
#include "StationFixture.h"

#include <QDir>
#include <QFile>
#include <QTest>

class PhoneDownloadTest : public QObject {
    Q_OBJECT

private slots:
    void flashesEightPhonesInParallel();
    void eachCheckFailsOnItsOwn_data();
    void eachCheckFailsOnItsOwn();
    void optionsChooseWhatIsWritten_data();
    void optionsChooseWhatIsWritten();
    void brokenInputsFailThePhone_data();
    void brokenInputsFailThePhone();
};

namespace {

enum Check { PhoneName, Emmc, Fuse, Instrument };

void giveFault(marlow::PhoneProfile& phone, int check)
{
    switch (check) {
    case PhoneName: phone.model = "OTHER1"; break;
    case Emmc: phone.emmcCid = "00000000000000000000000000000000"; break;
    case Fuse: phone.fuseBlown = false; break;
    case Instrument: phone.instrumentPassed = false; break;
    }
}

void switchChecks(EngineParams& params, std::optional<int> only)
{
    params.CKPhoneName = only == PhoneName;
    params.CKeMMC = only == Emmc;
    params.CKFuse = only == Fuse;
    params.CKInstrument = only == Instrument;
}

QStringList recordLines(const QString& serial)
{
    return {QStringLiteral("4 TYPE:TestResult"),
            QStringLiteral("4 Project=%1_%2").arg(StationFixture::kModel, StationFixture::kVersion),
            QStringLiteral("5 %1").arg(StationFixture::kVersion),
            QStringLiteral("4 TestStation=DOWNLOAD"),
            QStringLiteral("4 SN=%1").arg(serial),
            QStringLiteral("4 Operator=")};
}

// The cell's last seven reports: the record and marker lines, then the final state.
QStringList closingReports(const QList<EngineEvent>& cellEvents)
{
    QStringList closing;
    for (qsizetype i = std::max<qsizetype>(0, cellEvents.size() - 7); i < cellEvents.size(); ++i) {
        const EngineEvent& event = cellEvents[i];
        closing.append(event.type == EngineEvent::State ? QStringLiteral("state %1").arg(event.state)
                                                        : QStringLiteral("%1 %2").arg(event.kind).arg(event.text));
    }
    return closing;
}

int indexOfFirst(const QList<EngineEvent>& events, const std::function<bool(const EngineEvent&)>& wanted)
{
    for (int i = 0; i < events.size(); ++i)
        if (wanted(events[i]))
            return i;
    return -1;
}

} // namespace

void PhoneDownloadTest::flashesEightPhonesInParallel()
{
    StationFixture station;
    const QList<int> cells = {0, 1, 2, 3, 4, 5, 6, 7};
    const qint64 total = station.packageContentBytes() + station.images().value(QStringLiteral("gps.img")).size();
    // About two seconds a phone: long enough that a one-at-a-time engine would show.
    station.attachSoundPhones(cells, quint64(total / 2));
    EngineHarness engine;
    QVERIFY2(engine.loaded(), qPrintable(engine.loadError()));
    engine.setPaths(station.packagePath(), station.gpsPath());
    engine.initialise();
    engine.startRun();
    QVERIFY(engine.waitForFinalStates(cells));
    engine.stop();
    QVERIFY(engine.waitForRunToReturn());
    QCOMPARE(engine.runResult(), 1);

    const QList<EngineEvent> all = engine.events();
    const int firstFinal = indexOfFirst(all, isFinalState);
    for (int cell : cells) {
        const QList<EngineEvent> events = engine.eventsOf(cell);
        QCOMPARE(events.first().type, EngineEvent::Device);
        QCOMPARE(events.first().link, 1);
        QCOMPARE(events.first().text, QStringLiteral("2-1.%1").arg(cell));
        QCOMPARE(events[1].type, EngineEvent::State);
        QCOMPARE(events[1].state, 1);
        QCOMPARE(events[1].kind, 3);
        QVERIFY2(indexOfFirst(all, [cell](const EngineEvent& e) { return e.cell == cell && e.state == 1; }) < firstFinal,
                 "every phone starts before the first one finishes");

        QCOMPARE(engine.states(cell), QList<int>({1, 2}));
        QCOMPARE(events.last().kind, 3);
        QCOMPARE(closingReports(events), recordLines(QStringLiteral("sn%1").arg(1000 + cell)) << "state 2");
        QCOMPARE(engine.messages(cell, 0), QStringList());

        const QList<EngineEvent> progress = engine.eventsOf(cell, EngineEvent::Progress);
        QVERIFY(progress.size() >= 2);
        for (int i = 0; i < progress.size(); ++i) {
            QCOMPARE(progress[i].total, int(total));
            QVERIFY(i == 0 || progress[i].done >= progress[i - 1].done);
        }
        QCOMPARE(progress.last().done, int(total));

        QCOMPARE(station.storedImages(cell), QStringList(station.images().keys()));
        for (const QString& name : station.images().keys())
            QVERIFY2(station.storedImage(cell, name) == station.images().value(name), qPrintable(name));
    }
    QVERIFY2(engine.eventsOf(0, EngineEvent::Device).size() == 1, "download mode ends without removing phones");
}

void PhoneDownloadTest::eachCheckFailsOnItsOwn_data()
{
    QTest::addColumn<int>("check");
    QTest::addColumn<QString>("failure");
    QTest::newRow("phone name") << int(PhoneName)
                                << QStringLiteral("Phone name check failed: the phone is OTHER1, the package is for TP100");
    QTest::newRow("eMMC") << int(Emmc) << QStringLiteral("eMMC check failed: CID \"00000000000000000000000000000000\"");
    QTest::newRow("fuse") << int(Fuse) << QStringLiteral("Fuse check failed: the security fuse is open");
    QTest::newRow("instrument") << int(Instrument) << QStringLiteral("Instrument check failed");
}

void PhoneDownloadTest::eachCheckFailsOnItsOwn()
{
    QFETCH(int, check);
    QFETCH(QString, failure);
    StationFixture station;
    // Cell 0 has only this fault; cell 1 has every other fault and passes,
    // because only this check is on.
    marlow::PhoneProfile onlyThis = station.phone(0);
    giveFault(onlyThis, check);
    marlow::PhoneProfile allOthers = station.phone(1);
    for (int other : {PhoneName, Emmc, Fuse, Instrument})
        if (other != check)
            giveFault(allOthers, other);
    station.attach(0, onlyThis);
    station.attach(1, allOthers);

    EngineHarness engine;
    QVERIFY2(engine.loaded(), qPrintable(engine.loadError()));
    engine.setPaths(station.packagePath(), station.gpsPath());
    switchChecks(engine.params(), check);
    engine.initialise();
    engine.startRun();
    QVERIFY(engine.waitForFinalStates({0, 1}));

    QCOMPARE(engine.states(0), QList<int>({1, 3}));
    QCOMPARE(engine.messages(0, 0).size(), 1);
    QVERIFY2(engine.messages(0, 0).first().startsWith(failure), qPrintable(engine.messages(0, 0).first()));
    QCOMPARE(closingReports(engine.eventsOf(0)), recordLines(QStringLiteral("sn1000")) << "state 3");
    QVERIFY2(station.storedImages(0).isEmpty(), "a phone that fails a check is not written");

    QCOMPARE(engine.states(1), QList<int>({1, 2}));
    QCOMPARE(station.storedImages(1).size(), station.images().size());
}

void PhoneDownloadTest::optionsChooseWhatIsWritten_data()
{
    QTest::addColumn<QList<int>>("writes"); // DownLoadVKB, DownloadRES, DownLK, DownSystem, DownUserdata
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<int>("fileKind");
    QTest::addColumn<int>("skipped");
    const QStringList everything = {"boot.img", "gps.img", "lk.img", "preloader.img", "system.img", "userdata.img"};
    QTest::newRow("everything") << QList<int>{1, 1, 1, 1, 1} << everything << 3 << 0;
    QTest::newRow("package only") << QList<int>{1, 0, 1, 1, 1}
                                  << QStringList{"boot.img", "lk.img", "preloader.img", "system.img", "userdata.img"}
                                  << 0 << 0;
    QTest::newRow("GPS image only") << QList<int>{0, 1, 1, 1, 1} << QStringList{"gps.img"} << 2 << 0;
    QTest::newRow("no lk") << QList<int>{1, 1, 0, 1, 1}
                           << QStringList{"boot.img", "gps.img", "preloader.img", "system.img", "userdata.img"} << 3 << 1;
    QTest::newRow("no system") << QList<int>{1, 0, 1, 0, 1}
                               << QStringList{"boot.img", "lk.img", "preloader.img", "userdata.img"} << 0 << 1;
    QTest::newRow("no userdata") << QList<int>{1, 0, 1, 1, 0}
                                 << QStringList{"boot.img", "lk.img", "preloader.img", "system.img"} << 0 << 1;
    QTest::newRow("none of the three") << QList<int>{1, 1, 0, 0, 0}
                                       << QStringList{"boot.img", "gps.img", "preloader.img"} << 3 << 3;
    QTest::newRow("nothing at all") << QList<int>{0, 0, 1, 1, 1} << QStringList{} << 3 << 0;
}

void PhoneDownloadTest::optionsChooseWhatIsWritten()
{
    QFETCH(QList<int>, writes);
    QFETCH(QStringList, stored);
    QFETCH(int, fileKind);
    QFETCH(int, skipped);
    StationFixture station;
    station.attachSoundPhones({4});
    EngineHarness engine;
    QVERIFY2(engine.loaded(), qPrintable(engine.loadError()));
    engine.setPaths(station.packagePath(), station.gpsPath());
    EngineParams& params = engine.params();
    params.DownLoadVKB = writes[0];
    params.DownloadRES = writes[1];
    params.DownLK = writes[2];
    params.DownSystem = writes[3];
    params.DownUserdata = writes[4];
    engine.initialise();
    engine.startRun();
    QVERIFY(engine.waitForFinalStates({4}));

    QCOMPARE(engine.states(4), QList<int>({1, 2}));
    for (const EngineEvent& state : engine.eventsOf(4, EngineEvent::State))
        QCOMPARE(state.kind, fileKind);
    QCOMPARE(station.storedImages(4), stored);
    for (const QString& name : stored)
        QVERIFY2(station.storedImage(4, name) == station.images().value(name), qPrintable(name));
    QCOMPARE(engine.messages(4, 2).filter(QStringLiteral("partition is not selected")).size(), skipped);
    qint64 written = 0;
    for (const QString& name : stored)
        written += station.images().value(name).size();
    const QList<EngineEvent> progress = engine.eventsOf(4, EngineEvent::Progress);
    if (written > 0)
        QCOMPARE(progress.last().done, int(written));
    else
        QVERIFY(progress.isEmpty());
}

void PhoneDownloadTest::brokenInputsFailThePhone_data()
{
    QTest::addColumn<QString>("breakage");
    QTest::addColumn<QString>("failure");
    QTest::newRow("unreadable phone.ini") << "phone.ini"
                                          << "phone.ini: speed must be a whole number of bytes per second";
    QTest::newRow("package gone") << "package" << "The package cannot be used: cannot open the package";
    QTest::newRow("GPS image gone") << "gps" << "Cannot write the GPS image: GPS image unreadable: cannot open";
    QTest::newRow("write breaks off") << "fail_at" << "Write error in system.img at 30%: the phone stopped answering";
}

void PhoneDownloadTest::brokenInputsFailThePhone()
{
    QFETCH(QString, breakage);
    QFETCH(QString, failure);
    StationFixture station;
    marlow::PhoneProfile phone = station.phone(6);
    phone.failAtPercent = 30;
    if (breakage == QLatin1String("fail_at"))
        station.attach(6, phone);
    else
        station.attachSoundPhones({6});
    QString gpsPath = station.gpsPath();
    if (breakage == QLatin1String("phone.ini")) {
        QFile ini(QString::fromStdString((station.bay().cellFolder(6) / "phone.ini").string()));
        QVERIFY(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write("model=TP100\nspeed=fast\n");
    } else if (breakage == QLatin1String("package")) {
        QVERIFY(QFile::remove(station.packagePath()));
    } else if (breakage == QLatin1String("gps")) {
        gpsPath = station.filePath(QStringLiteral("missing-gps.img"));
    }

    EngineHarness engine;
    QVERIFY2(engine.loaded(), qPrintable(engine.loadError()));
    engine.setPaths(station.packagePath(), gpsPath);
    engine.initialise();
    engine.startRun();
    QVERIFY(engine.waitForFinalStates({6}));

    QCOMPARE(engine.states(6), QList<int>({1, 3}));
    const QStringList errors = engine.messages(6, 0);
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().startsWith(failure), qPrintable(errors.first()));
    QCOMPARE(closingReports(engine.eventsOf(6)).last(), QStringLiteral("state 3"));
    QCOMPARE(closingReports(engine.eventsOf(6))[3], QStringLiteral("4 TestStation=DOWNLOAD"));
    if (breakage == QLatin1String("fail_at")) {
        const QList<EngineEvent> progress = engine.eventsOf(6, EngineEvent::Progress);
        QCOMPARE(qint64(progress.last().done), qint64(progress.last().total) * 30 / 100);
        QVERIFY(station.storedImage(6, QStringLiteral("system.img")).size()
                < station.images().value(QStringLiteral("system.img")).size());
    }
}

QTEST_GUILESS_MAIN(PhoneDownloadTest)
#include "PhoneDownloadTest.moc"
