// VerifyDataofVKB: a sound package passes naming its model; every kind of
// damage fails with its reason, and nothing else follows either verdict.
#include "EngineHarness.h"
#include "StationFixture.h"

#include "engine-sim/PackageReader.h"

#include <QFile>
#include <QTest>

class EngineVerificationTest : public QObject {
    Q_OBJECT

private slots:
    void passesASoundPackage_data();
    void passesASoundPackage();
    void failsADamagedPackage_data();
    void failsADamagedPackage();
};

namespace {

bool overwrite(const QString& path, qint64 at, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && file.seek(at) && file.write(bytes) == bytes.size();
}

qint64 offsetOf(const QString& package, const std::string& name)
{
    const auto reader = marlow::PackageReader::open(package.toStdString());
    for (const marlow::PackageEntry& entry : (*reader)->layout().entries)
        if (entry.name == name)
            return qint64(entry.offset);
    qFatal("no %s in the test package", name.c_str());
}

QStringList verdicts(const QList<EngineEvent>& records)
{
    QStringList found;
    for (const EngineEvent& record : records)
        if (record.kind == 2 || record.kind == 3)
            found.append(QStringLiteral("%1 %2").arg(record.kind).arg(record.text));
    return found;
}

} // namespace

void EngineVerificationTest::passesASoundPackage_data()
{
    QTest::addColumn<bool>("withGpsImage");
    QTest::newRow("package and GPS image") << true;
    QTest::newRow("package alone") << false;
}

void EngineVerificationTest::passesASoundPackage()
{
    QFETCH(bool, withGpsImage);
    StationFixture station;
    EngineHarness engine;
    QVERIFY2(engine.loaded(), qPrintable(engine.loadError()));
    engine.setPaths(station.packagePath(), withGpsImage ? station.gpsPath() : QString());
    QCOMPARE(engine.initialise(), 1);
    QCOMPARE(engine.verify(), 1);

    const QList<EngineEvent> records = engine.verifications();
    QCOMPARE(records.first().kind, 0);
    QCOMPARE(records.first().text, QStringLiteral("Verifying package %1...").arg(station.packagePath()));
    int checkedFiles = 0;
    for (const EngineEvent& record : records)
        checkedFiles += record.kind == 1 && record.text.startsWith(QLatin1String("Checked ")) && !record.text.contains("GPS");
    QCOMPARE(checkedFiles, 5);
    QCOMPARE(records.last().kind, 2);
    QCOMPARE(records.last().status, 0);
    QCOMPARE(records.last().text, QString::fromLatin1(StationFixture::kModel));
    QCOMPARE(verdicts(records).size(), 1);
    const bool gpsImageChecked = std::any_of(records.begin(), records.end(), [](const EngineEvent& record) {
        return record.text.startsWith(QLatin1String("Checked GPS image"));
    });
    QCOMPARE(gpsImageChecked, withGpsImage);
    QCOMPARE(engine.events().size(), records.size());
}

void EngineVerificationTest::failsADamagedPackage_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("reason");
    QTest::newRow("a changed byte in system.img") << "system" << "checksum mismatch in system.img";
    QTest::newRow("a changed model name") << "model" << "header checksum mismatch";
    QTest::newRow("a changed file table") << "table" << "file table checksum mismatch";
    QTest::newRow("cut short") << "cut" << "package is truncated (userdata.img)";
    QTest::newRow("not a package") << "text" << "not a VKB package";
    QTest::newRow("a VKB header without our block") << "foreign" << "not a package this engine can read (no package block)";
    QTest::newRow("no package") << "missing" << "cannot open the package";
    QTest::newRow("empty GPS image") << "empty gps" << "GPS image";
    QTest::newRow("no GPS image") << "missing gps" << "GPS image unreadable: cannot open";
    QTest::newRow("parameter block not ready") << "not ready" << "the parameter block is not ready";
}

void EngineVerificationTest::failsADamagedPackage()
{
    QFETCH(QString, damage);
    QFETCH(QString, reason);
    StationFixture station;
    const QString package = station.packagePath();
    QString gpsImage = station.gpsPath();
    if (damage == QLatin1String("system")) {
        QVERIFY(overwrite(package, offsetOf(package, "system.img") + 100, "\x5A\xA5"));
    } else if (damage == QLatin1String("model")) {
        QVERIFY(overwrite(package, 5, "Q"));
    } else if (damage == QLatin1String("table")) {
        QVERIFY(overwrite(package, 128 + 2, "X"));
    } else if (damage == QLatin1String("cut")) {
        QVERIFY(QFile(package).resize(QFile(package).size() - 10));
    } else if (damage == QLatin1String("text")) {
        QVERIFY(overwrite(package, 0, "This is no package at all, only some text."));
    } else if (damage == QLatin1String("foreign")) {
        QVERIFY(overwrite(package, 64, QByteArray(64, '\0')));
    } else if (damage == QLatin1String("missing")) {
        QVERIFY(QFile::remove(package));
    } else if (damage == QLatin1String("empty gps")) {
        QVERIFY(QFile(gpsImage).resize(0));
        reason = QStringLiteral("GPS image %1 is empty").arg(gpsImage);
    } else if (damage == QLatin1String("missing gps")) {
        gpsImage = station.filePath(QStringLiteral("nowhere.img"));
    }
    EngineHarness engine;
    QVERIFY2(engine.loaded(), qPrintable(engine.loadError()));
    engine.setPaths(package, gpsImage);
    engine.params().ready = damage == QLatin1String("not ready") ? 0 : 1;
    engine.initialise();
    QCOMPARE(engine.verify(), 0);

    const QList<EngineEvent> records = engine.verifications();
    QCOMPARE(verdicts(records).size(), 1);
    QCOMPARE(records.last().kind, 3);
    QVERIFY2(records.last().text.startsWith(reason), qPrintable(records.last().text));
}

QTEST_GUILESS_MAIN(EngineVerificationTest)
#include "EngineVerificationTest.moc"
