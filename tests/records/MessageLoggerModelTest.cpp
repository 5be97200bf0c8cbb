#include "records/CellPageListener.h"
#include "records/MessageLoggerModel.h"
#include "platform/ProgramDirectory.h"
#include "tests/support/ManualClock.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Lines are written "<line colour type>:<text>" so a table row reads as the
// sequence the event dispatch sends.
void send(MessageLoggerModel& model, int cell, const QStringList& lines)
{
    for (const QString& line : lines)
        model.AppendCellMessage(cell, line.section(u':', 1), lineColourRgb(line.section(u':', 0, 0).toInt()));
}

// The texts of the shown lines, without the time stamp and cell prefix.
QStringList shownTexts(const CellPageDocument& page)
{
    QStringList texts;
    for (const PageLine& line : page)
        texts << line.text.section(u' ', 3).chopped(1);
    return texts;
}

QList<int> shownColourTypes(const CellPageDocument& page)
{
    QList<int> types;
    for (const PageLine& line : page) {
        int type = LineInformation;
        while (type <= LineMarker && lineColourRgb(type) != line.colour)
            ++type;
        types << type;
    }
    return types;
}

struct RecordingListener final : CellPageListener {
    void lineAppended(int cell, const PageLine& line) override { events << QStringLiteral("line %1 %2").arg(cell).arg(line.text); }
    void pageCleared(int cell) override { events << QStringLiteral("cleared %1").arg(cell); }
    void currentPageChanged(int cell) override { events << QStringLiteral("shown %1").arg(cell); }
    QStringList events;
};

} // namespace

class MessageLoggerModelTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanupTestCase();
    void initialState();
    void classification_data();
    void classification();
    void shownLineCarriesTimeCellAndFormat();
    void recordLinesStayInOrderPerCellAcrossPageSwitches();
    void clearingEmptiesOnlyThatCell();
    void cellsOutsideTheGridAreIgnored_data();
    void cellsOutsideTheGridAreIgnored();

private:
    QTemporaryDir m_programDir; // nothing a test writes by mistake lands in the build
    ManualClock m_clock{QDateTime(QDate(2014, 3, 3), QTime(9, 5, 7))};
};

void MessageLoggerModelTest::init()
{
    Platform::setProgramDirectory(m_programDir.path());
}

void MessageLoggerModelTest::cleanupTestCase()
{
    Platform::setProgramDirectory(QString());
}

void MessageLoggerModelTest::initialState()
{
    const MessageLoggerModel model;
    QCOMPARE(model.dumpRoot(), m_programDir.path() + QStringLiteral("/DownloadScrrenDump"));
    QCOMPARE(model.currentPage(), 0);
    QVERIFY(!model.stationSeen());
    QVERIFY(!model.recordSwitch());
    for (int cell = 0; cell < MessageLoggerModel::kCellCount; ++cell) {
        QCOMPARE(model.serialNumber(cell), QStringLiteral("NOSN"));
        QVERIFY(model.page(cell).isEmpty());
        QVERIFY(model.recordLines(cell).isEmpty());
    }
}

void MessageLoggerModelTest::classification_data()
{
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QList<int>>("shownTypes");
    QTest::addColumn<QStringList>("recordLines");
    QTest::addColumn<QString>("serial");
    QTest::addColumn<QString>("station");
    QTest::addColumn<bool>("recordSwitch");
    QTest::addColumn<QString>("packageVersion");

    const QString noSn = QStringLiteral("NOSN");
    QTest::newRow("ordinary colours are shown")
        << QStringList{"0:info", "1:progress", "2:ok", "3:error"} << QStringList{"info", "progress", "ok", "error"}
        << QList<int>{0, 1, 2, 3} << QStringList{} << noSn << QString() << false << QString();
    QTest::newRow("lower-case sn= is stored upper-cased")
        << QStringList{"4:sn=ab12cd"} << QStringList{} << QList<int>{} << QStringList{"SN=AB12CD"} << "AB12CD"
        << QString() << false << QString();
    QTest::newRow("SN= alone gives no serial")
        << QStringList{"4:SN="} << QStringList{} << QList<int>{} << QStringList{"SN="} << noSn << QString() << false
        << QString();
    QTest::newRow("last SN= line wins, its first three characters cut")
        << QStringList{"4:SN=111", "4:PSN=x2"} << QStringList{} << QList<int>{} << QStringList{"SN=111", "PSN=X2"}
        << "=X2" << QString() << false << QString();
    QTest::newRow("other record lines kept as sent")
        << QStringList{"4:Project=ab_cd", "4:Operator=me"} << QStringList{} << QList<int>{}
        << QStringList{"Project=ab_cd", "Operator=me"} << noSn << QString() << false << QString();
    QTest::newRow("DOWNLOAD station enables records")
        << QStringList{"4:TestStation=DOWNLOAD_3"} << QStringList{} << QList<int>{} << QStringList{"TestStation=DOWNLOAD_3"}
        << noSn << "DOWNLOAD_3" << true << QString();
    QTest::newRow("UPGRADE station enables records")
        << QStringList{"4:TestStation=UPGRADE"} << QStringList{} << QList<int>{} << QStringList{"TestStation=UPGRADE"}
        << noSn << "UPGRADE" << true << QString();
    QTest::newRow("other station does not; a second station line changes nothing")
        << QStringList{"4:TestStation=ASSEMBLY", "4:TestStation=DOWNLOAD"} << QStringList{} << QList<int>{}
        << QStringList{"TestStation=ASSEMBLY", "TestStation=DOWNLOAD"} << noSn << "ASSEMBLY" << false << QString();
    QTest::newRow("station key is matched as written")
        << QStringList{"4:teststation=DOWNLOAD"} << QStringList{} << QList<int>{} << QStringList{"teststation=DOWNLOAD"}
        << noSn << QString() << false << QString();
    QTest::newRow("markers before the station set the package version")
        << QStringList{"5:V1.0", "5:V2.0", "4:TestStation=DOWNLOAD"} << QStringList{} << QList<int>{}
        << QStringList{"TestStation=DOWNLOAD"} << noSn << "DOWNLOAD" << true << "V2.0";
    QTest::newRow("a marker after the station is shown near-white")
        << QStringList{"5:V1.0", "4:TestStation=DOWNLOAD", "5:V9.9"} << QStringList{"V9.9"} << QList<int>{5}
        << QStringList{"TestStation=DOWNLOAD"} << noSn << "DOWNLOAD" << true << "V1.0";
}

void MessageLoggerModelTest::classification()
{
    QFETCH(QStringList, sent);
    QFETCH(QStringList, shown);
    QFETCH(QList<int>, shownTypes);
    QFETCH(QStringList, recordLines);
    QFETCH(QString, serial);
    QFETCH(QString, station);
    QFETCH(bool, recordSwitch);
    QFETCH(QString, packageVersion);

    MessageLoggerModel model;
    send(model, 2, sent);
    QCOMPARE(shownTexts(model.page(2)), shown);
    QCOMPARE(shownColourTypes(model.page(2)), shownTypes);
    QCOMPARE(model.recordLines(2), recordLines);
    QCOMPARE(model.serialNumber(2), serial);
    QCOMPARE(model.station(), station);
    QCOMPARE(model.recordSwitch(), recordSwitch);
    QCOMPARE(model.packageVersion(), packageVersion);
    QCOMPARE(model.stationSeen(), !station.isEmpty());
}

void MessageLoggerModelTest::shownLineCarriesTimeCellAndFormat()
{
    MessageLoggerModel model;
    RecordingListener listener;
    model.setListener(&listener);
    model.AppendCellMessage(3, QStringLiteral("Download Started..."), lineColourRgb(LineProgress));
    m_clock.setNow(QDateTime(QDate(2014, 3, 3), QTime(23, 59, 58)));
    model.AppendCellMessage(3, QStringLiteral(" 100%  {x}"), RgbColour{1, 2, 3});

    const CellPageDocument& page = model.page(3);
    QCOMPARE(page.lineCount(), std::size_t(2));
    QCOMPARE(page.line(0).text, QStringLiteral("09:05:07  CELL3: Download Started...\n"));
    QCOMPARE(page.line(1).text, QStringLiteral("23:59:58  CELL3:  100%  {x}\n"));
    QCOMPARE(page.line(1).colour, (RgbColour{1, 2, 3}));
    for (const PageLine& line : page) {
        QCOMPARE(line.heightTwips, 225);
        QCOMPARE(line.weight, 400);
    }
    QCOMPARE(listener.events, (QStringList{"line 3 09:05:07  CELL3: Download Started...\n", "line 3 23:59:58  CELL3:  100%  {x}\n"}));
}

void MessageLoggerModelTest::recordLinesStayInOrderPerCellAcrossPageSwitches()
{
    MessageLoggerModel model;
    RecordingListener listener;
    model.setListener(&listener);
    send(model, 1, {"4:TYPE:x", "0:shown on 1"});
    send(model, 2, {"4:first of 2"});
    model.ShowPage(2);
    send(model, 1, {"4:sn=one"});
    model.ShowPage(1);
    send(model, 2, {"4:second of 2"});
    send(model, 1, {"4:last of 1"});

    QCOMPARE(model.currentPage(), 1);
    QCOMPARE(model.recordLines(1), (QStringList{"TYPE:x", "SN=ONE", "last of 1"}));
    QCOMPARE(model.recordLines(2), (QStringList{"first of 2", "second of 2"}));
    QCOMPARE(model.serialNumber(1), QStringLiteral("ONE"));
    QCOMPARE(model.serialNumber(2), QStringLiteral("NOSN"));
    QCOMPARE(shownTexts(model.page(1)), QStringList{"shown on 1"});
    QCOMPARE(listener.events.mid(1), (QStringList{"shown 2", "shown 1"}));
}

void MessageLoggerModelTest::clearingEmptiesOnlyThatCell()
{
    MessageLoggerModel model;
    RecordingListener listener;
    model.setListener(&listener);
    send(model, 4, {"5:V1", "4:TestStation=DOWNLOAD", "4:SN=123", "1:line"});
    send(model, 5, {"4:SN=555", "1:other"});
    listener.events.clear();

    model.ClearCellPage(4);
    QVERIFY(model.page(4).isEmpty());
    QVERIFY(model.recordLines(4).isEmpty());
    QCOMPARE(model.serialNumber(4), QStringLiteral("NOSN"));
    QCOMPARE(listener.events, QStringList{"cleared 4"});
    // the station belongs to the run, the other cell to itself
    QCOMPARE(model.station(), QStringLiteral("DOWNLOAD"));
    QVERIFY(model.recordSwitch());
    QCOMPARE(model.packageVersion(), QStringLiteral("V1"));
    QCOMPARE(model.serialNumber(5), QStringLiteral("555"));
    QCOMPARE(shownTexts(model.page(5)), QStringList{"other"});

    send(model, 4, {"1:after clear"});
    QCOMPARE(shownTexts(model.page(4)), QStringList{"after clear"});
}

void MessageLoggerModelTest::cellsOutsideTheGridAreIgnored_data()
{
    QTest::addColumn<int>("cell");
    QTest::newRow("-1") << -1;
    QTest::newRow("8") << 8;
    QTest::newRow("-5") << -5;
    QTest::newRow("huge") << std::numeric_limits<int>::max();
}

void MessageLoggerModelTest::cellsOutsideTheGridAreIgnored()
{
    QFETCH(int, cell);
    MessageLoggerModel model;
    RecordingListener listener;
    model.setListener(&listener);
    model.ShowPage(5);
    listener.events.clear();

    send(model, cell, {"1:shown", "4:TestStation=DOWNLOAD", "4:SN=1", "5:V"});
    model.ShowPage(cell);
    model.ClearCellPage(cell);
    model.WriteRecords(cell, QStringLiteral("M"), true);

    QCOMPARE(model.currentPage(), 5);
    QVERIFY(!model.stationSeen());
    QVERIFY(model.packageVersion().isEmpty());
    QVERIFY(listener.events.isEmpty());
    QVERIFY(model.page(cell).isEmpty());
    QVERIFY(model.recordLines(cell).isEmpty());
    QCOMPARE(model.serialNumber(cell), QStringLiteral("NOSN"));
    for (int valid = 0; valid < MessageLoggerModel::kCellCount; ++valid)
        QVERIFY(model.page(valid).isEmpty() && model.recordLines(valid).isEmpty());
    QVERIFY(QDir(m_programDir.path()).isEmpty());
}

QTEST_GUILESS_MAIN(MessageLoggerModelTest)
#include "MessageLoggerModelTest.moc"
