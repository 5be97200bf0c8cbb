// The marlow tool: packing, inspecting and verifying packages, plugging phones
// in and out, and the demo station it makes, run through the engine.
#include "EngineHarness.h"

#include "engine-sim/BayFolder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class MarlowToolTest : public QObject {
    Q_OBJECT

private slots:
    void packsInspectsAndVerifies();
    void failuresAreOneLine_data();
    void failuresAreOneLine();
    void attachesAndDetachesPhones();
    void demoStationShowsBothOutcomes();

private:
    struct Run {
        int status = -1;
        QString out;
        QString err;
    };
    Run marlow(const QStringList& arguments, const QString& bay = QString());
    QString writeImage(const QString& name, qsizetype size, char fill);

    QTemporaryDir m_dir;
};

MarlowToolTest::Run MarlowToolTest::marlow(const QStringList& arguments, const QString& bay)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("MARLOW_BAY"), bay.isEmpty() ? m_dir.filePath(QStringLiteral("default-bay")) : bay);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(ZARV_PROGRAM_DIR "marlow"), arguments);
    if (!process.waitForFinished(120000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

QString MarlowToolTest::writeImage(const QString& name, qsizetype size, char fill)
{
    const QString path = m_dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(QByteArray(size, fill)) != size)
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void MarlowToolTest::packsInspectsAndVerifies()
{
    const QString package = m_dir.filePath(QStringLiteral("m17.vkb"));
    const Run packed = marlow({"pack", "--output", package, "--model", "M17", "--version", "V3.2", "--header", "17",
                               writeImage("lk.bin", 4096, 'l'), writeImage("radio.bin", 1000, 'r') + "=modem",
                               writeImage("system.img", 300000, 's')});
    QCOMPARE(packed.err, QString());
    QCOMPARE(packed.status, 0);

    const Run info = marlow({"info", package});
    QCOMPARE(info.status, 0);
    const QStringList lines = info.out.split('\n');
    QCOMPARE(lines.value(0), QStringLiteral("header   17 (version 17)"));
    QCOMPARE(lines.value(1), QStringLiteral("model    M17"));
    QCOMPARE(lines.value(2), QStringLiteral("version  V3.2"));
    QCOMPARE(lines.value(4), QStringLiteral("files    3"));
    QCOMPARE(lines.value(6).simplified().section(' ', 0, 2), QStringLiteral("lk.bin lk 4096"));
    QCOMPARE(lines.value(7).simplified().section(' ', 0, 2), QStringLiteral("radio.bin modem 1000"));
    QCOMPARE(lines.value(8).simplified().section(' ', 0, 2), QStringLiteral("system.img system 300000"));

    const Run verified = marlow({"verify", package, "--gps", writeImage("gps.img", 512, 'g')});
    QCOMPARE(verified.status, 0);
    QVERIFY2(verified.out.endsWith(QLatin1String("passed: a package for M17\n")), qPrintable(verified.out));

    QFile file(package);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.seek(file.size() - 5));
    file.write("?");
    file.close();
    const Run refused = marlow({"verify", package});
    QCOMPARE(refused.status, 1);
    QCOMPARE(refused.err, QStringLiteral("marlow: checksum mismatch in system.img\n"));
}

void MarlowToolTest::failuresAreOneLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    QTest::newRow("no command") << QStringList{} << 2 << "no command given (marlow help lists them)";
    QTest::newRow("unknown command") << QStringList{"frob"} << 2 << "unknown command frob (marlow help lists them)";
    QTest::newRow("unknown option") << QStringList{"verify", "--frob", "x"} << 2 << "unknown option --frob";
    QTest::newRow("pack without model") << QStringList{"pack", "--output", "x.vkb", "lk.bin"} << 2
                                        << "--model is required";
    QTest::newRow("pack an unknown kind of file")
        << QStringList{"pack", "--output", "x.vkb", "--model", "M", "weird.bin"} << 2
        << "cannot tell the partition of weird.bin: write weird.bin=PARTITION";
    QTest::newRow("pack to an unknown partition")
        << QStringList{"pack", "--output", "x.vkb", "--model", "M", "a.img=kernel"} << 2 << "unknown partition kernel";
    QTest::newRow("pack an unknown header form")
        << QStringList{"pack", "--output", "x.vkb", "--model", "M", "--header", "19", "lk.bin"} << 2
        << "unknown header form 19 (13, WTVK, 14, 15, 16, 17 or 18)";
    QTest::newRow("info of nothing") << QStringList{"info", "/nonexistent/p.vkb"} << 1
                                     << "cannot open the package /nonexistent/p.vkb";
    QTest::newRow("info without a package") << QStringList{"info"} << 2 << "usage: marlow info PACKAGE";
    QTest::newRow("a ninth cell") << QStringList{"bay", "attach", "8", "--model", "M"} << 2
                                  << "cells are numbered 0 to 7, not \"8\"";
    QTest::newRow("a bad fuse") << QStringList{"bay", "attach", "1", "--model", "M", "--fuse", "maybe"} << 2
                                << "fuse must be blown or open";
    QTest::newRow("detach an empty cell") << QStringList{"bay", "detach", "4"} << 1 << "cell 4 holds no phone";
    QTest::newRow("a bay action unknown") << QStringList{"bay", "shake"} << 2
                                          << "usage: marlow bay attach|detach|demo ...";
}

void MarlowToolTest::failuresAreOneLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, message);
    const Run run = marlow(arguments);
    QCOMPARE(run.status, status);
    QCOMPARE(run.err, "marlow: " + message + "\n");
    QCOMPARE(run.out, QString());
}

void MarlowToolTest::attachesAndDetachesPhones()
{
    const QString bayPath = m_dir.filePath(QStringLiteral("tool-bay"));
    const marlow::BayFolder bay(bayPath.toStdString());
    const Run attached = marlow({"bay", "attach", "4", "--model", "TP9", "--serial", "S-77", "--fuse", "open",
                                 "--speed", "5000", "--fail-at", "12", "--usb", "3-2"},
                                bayPath);
    QCOMPARE(attached.err, QString());
    QCOMPARE(attached.status, 0);
    const auto phone = bay.readPhone(4);
    QVERIFY(phone);
    QCOMPARE(phone->model, std::string("TP9"));
    QCOMPARE(phone->serial, std::string("S-77"));
    QVERIFY(phone->cidIsSound());
    QVERIFY(!phone->fuseBlown);
    QVERIFY(phone->instrumentPassed);
    QCOMPARE(phone->usbAddress, std::string("3-2"));
    QCOMPARE(phone->bytesPerSecond, uint64_t(5000));
    QCOMPARE(phone->failAtPercent, std::optional<int>(12));
    QCOMPARE(QDir(bayPath).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{"cell4"});

    const Run again = marlow({"bay", "attach", "4", "--model", "TP9"}, bayPath);
    QCOMPARE(again.status, 1);
    QCOMPARE(again.err, QStringLiteral("marlow: cell 4 already holds a phone\n"));

    QCOMPARE(marlow({"bay", "detach", "4", "--bay", bayPath}).status, 0);
    QVERIFY(!bay.isAttached(4));
    QVERIFY(QDir(bayPath).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
}

void MarlowToolTest::demoStationShowsBothOutcomes()
{
    const QString folder = m_dir.filePath(QStringLiteral("demo"));
    const Run made = marlow({"demo", folder});
    QCOMPARE(made.err, QString());
    QCOMPARE(made.status, 0);
    const QString bay = folder + "/bay";
    QCOMPARE(marlow({"bay", "demo"}, bay).err, QStringLiteral("marlow: %1 already holds phones\n").arg(bay));

    qputenv("MARLOW_BAY", bay.toLocal8Bit());
    {
        EngineHarness engine;
        QVERIFY2(engine.loaded(), qPrintable(engine.loadError()));
        engine.setPaths(folder + "/demo.vkb", folder + "/gps.img");
        engine.initialise();
        QCOMPARE(engine.verify(), 1);
        QCOMPARE(engine.finalVerification()->text, QStringLiteral("DEMO100"));
        engine.startRun();
        QVERIFY(engine.waitForFinalStates({0, 1, 2, 3, 4, 5, 6, 7}, 120000));
        for (int cell = 0; cell < 8; ++cell)
            QCOMPARE(engine.states(cell).last(), cell == 2 || cell == 5 ? 3 : 2);
        QVERIFY(engine.messages(5, 0).value(0).startsWith(QLatin1String("Phone name check failed")));
        QVERIFY(engine.messages(2, 0).value(0).startsWith(QLatin1String("Write error in ")));
        QVERIFY(engine.messages(2, 0).value(0).contains(QLatin1String(" at 40%")));
        QVERIFY(engine.messages(-1, 2).first().endsWith(QLatin1String("at station DOWNLOAD")));
        QVERIFY(engine.messages(3, 4).contains(QStringLiteral("Operator=demo")));
    }
    qunsetenv("MARLOW_BAY");
}

QTEST_GUILESS_MAIN(MarlowToolTest)
#include "MarlowToolTest.moc"
