#include "config/DesktopService.h"
#include "config/PublicFunction.h"

#include <QTest>

namespace {

// Stands in for the windows: answers the dialog as the operator would and
// records what it was asked.
class FakeDesktop : public DesktopService {
public:
    std::optional<FileChoice> answer;
    QStringList openWindows;
    bool opens = true;

    QList<FileDialogKind> kinds;
    QStringList filters;
    QStringList opened;

    std::optional<FileChoice> chooseFile(FileDialogKind kind, const QString& filter) override
    {
        kinds << kind;
        filters << filter;
        return answer;
    }
    bool bringWindowForward(const QString& title) override { return openWindows.contains(title); }
    bool openDocument(const QString& path) override
    {
        opened << path;
        return opens;
    }
};

} // namespace

class PublicFunctionDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void init() { DesktopService::install(&m_desktop); }
    void cleanup()
    {
        DesktopService::install(nullptr);
        m_desktop = FakeDesktop();
    }

    void openReturnsTheChosenPath();
    void saveAppendsTheFiltersExtension_data();
    void saveAppendsTheFiltersExtension();
    void cancelledDialogsGiveNothing();
    void withoutWindowsNothingIsChosen();
    void openOrActivate_data();
    void openOrActivate();

private:
    FakeDesktop m_desktop;
    CPublicFunction m_functions;
};

void PublicFunctionDialogsTest::openReturnsTheChosenPath()
{
    m_desktop.answer = DesktopService::FileChoice{QStringLiteral("/data/PHONE.VKB"), 1};
    QString path = QStringLiteral("old");
    QVERIFY(m_functions.BrowseOpenFile({QStringLiteral("VKB File(*.VKB)"), QStringLiteral("ALL Files(*.*)")},
        {QStringLiteral("vkb"), QStringLiteral("*.*")}, path));
    QCOMPARE(path, QStringLiteral("/data/PHONE.VKB"));
    QCOMPARE(m_desktop.kinds, QList{DesktopService::FileDialogKind::Open});
    QCOMPARE(m_desktop.filters, QStringList{QStringLiteral("VKB File(*.VKB)|*.vkb|ALL Files(*.*)|*.*.*||")});
}

void PublicFunctionDialogsTest::saveAppendsTheFiltersExtension_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<int>("filterIndex");
    QTest::addColumn<QString>("result");
    QTest::newRow("no extension") << "/tmp/report" << 1 << "/tmp/report.txt";
    QTest::newRow("same extension") << "/tmp/log.txt" << 1 << "/tmp/log.txt";
    QTest::newRow("other case") << "/tmp/report.TXT" << 1 << "/tmp/report.TXT.txt";
    QTest::newRow("other extension") << "/tmp/report.csv" << 1 << "/tmp/report.csv.txt";
    QTest::newRow("dotted folder") << "/tmp/v1.2/report" << 1 << "/tmp/v1.2/report.txt";
    QTest::newRow("every file") << "/tmp/report" << 2 << "/tmp/report";
    QTest::newRow("no such filter") << "/tmp/report.log" << 3 << "/tmp/report.log";
}

void PublicFunctionDialogsTest::saveAppendsTheFiltersExtension()
{
    QFETCH(QString, chosen);
    QFETCH(int, filterIndex);
    QFETCH(QString, result);
    m_desktop.answer = DesktopService::FileChoice{chosen, filterIndex};
    QString path;
    QVERIFY(m_functions.BrowseSaveFile({QStringLiteral("*.txt"), QStringLiteral("ALL Files(*.*)")},
        {QStringLiteral("txt"), QStringLiteral("*.*")}, path));
    QCOMPARE(path, result);
    QCOMPARE(m_desktop.kinds, QList{DesktopService::FileDialogKind::Save});
}

void PublicFunctionDialogsTest::cancelledDialogsGiveNothing()
{
    QString path = QStringLiteral("old");
    QVERIFY(!m_functions.BrowseSaveFile({QStringLiteral("*.txt")}, {QStringLiteral("txt")}, path));
    QVERIFY(path.isEmpty());
    path = QStringLiteral("old");
    QVERIFY(!m_functions.BrowseOpenFile({QStringLiteral("*.txt")}, {QStringLiteral("txt")}, path));
    QVERIFY(path.isEmpty());
}

void PublicFunctionDialogsTest::withoutWindowsNothingIsChosen()
{
    DesktopService::install(nullptr);
    QString path = QStringLiteral("old");
    QVERIFY(!m_functions.BrowseOpenFile({QStringLiteral("*.txt")}, {QStringLiteral("txt")}, path));
    QVERIFY(path.isEmpty());
    QVERIFY(!m_functions.OpenOrActivate(QStringLiteral("/opt/zarv/Help/ZARV_Help.html"), QStringLiteral("ZARV_HELP")));
}

void PublicFunctionDialogsTest::openOrActivate_data()
{
    QTest::addColumn<QStringList>("openWindows");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<bool>("result");
    QTest::addColumn<bool>("fileOpened");
    QTest::newRow("window already open") << QStringList{"ZARV_HELP"} << true << true << false;
    QTest::newRow("title differs in case") << QStringList{"zarv_help"} << true << true << true;
    QTest::newRow("opened") << QStringList{} << true << true << true;
    QTest::newRow("cannot open") << QStringList{} << false << false << true;
}

void PublicFunctionDialogsTest::openOrActivate()
{
    QFETCH(QStringList, openWindows);
    QFETCH(bool, opens);
    QFETCH(bool, result);
    QFETCH(bool, fileOpened);
    m_desktop.openWindows = openWindows;
    m_desktop.opens = opens;
    const QString help = QStringLiteral("/opt/zarv/Help/ZARV_Help.html");
    QCOMPARE(m_functions.OpenOrActivate(help, QStringLiteral("ZARV_HELP")), result);
    QCOMPARE(m_desktop.opened, fileOpened ? QStringList{help} : QStringList{});
}

QTEST_MAIN(PublicFunctionDialogsTest)
#include "PublicFunctionDialogsTest.moc"
