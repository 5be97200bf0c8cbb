#include "regex/RegexSplit.h"

#include <QTest>

class RegexSplitTest : public QObject {
    Q_OBJECT

private slots:
    void packageOnTheCommandLine_data();
    void packageOnTheCommandLine();
    void programDirectory_data();
    void programDirectory();
    void blankTest_data();
    void blankTest();
    void noMatchKeepsTheOutputs();
    void outputMayBeTheText();
};

namespace {

const QString kWindowsProgramPattern = QStringLiteral("\"*.exe\")");
const QString kWindowsPackagePattern = QStringLiteral("((?<=\")(\\w:\\W)([\\w|.|\\W]*).(?i)vkb(?=\"))");
const QString kLinuxProgramPattern = QStringLiteral("^\"[^\"]*\"");
const QString kLinuxPackagePattern = QStringLiteral("((?<=\")(/)([\\w|.|\\W]*).(?i)vkb(?=\"))");

// The two start-up steps: cut the program's own path, then find the package. Empty
// when no package is named.
QString PackageOnCommandLine(const QString& commandLine, const QString& programPattern, const QString& packagePattern)
{
    QString text = commandLine;
    QString before, match, after;
    if (RegexSplit(text, programPattern, before, match, after))
        text = after;
    QString package;
    RegexSplit(text, packagePattern, before, package, after);
    return package;
}

} // namespace

void RegexSplitTest::packageOnTheCommandLine_data()
{
    QTest::addColumn<bool>("linux");
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<QString>("package");

    QTest::newRow("windows package")
        << false << R"("C:\Tools\ZARV_UI.exe" "D:\Images\build 7.vkb")" << R"(D:\Images\build 7.vkb)";
    QTest::newRow("windows two packages run to the last")
        << false << R"("C:\Tools\ZARV_UI.exe" "D:\a.vkb" "E:\b.VKB")" << R"(D:\a.vkb" "E:\b.VKB)";
    QTest::newRow("windows ending VKB") << false << R"("C:\ZARV_UI.exe" "D:\fw.VKB")" << R"(D:\fw.VKB)";
    QTest::newRow("windows ending Vkb") << false << R"("C:\ZARV_UI.exe" "D:\fw.Vkb")" << R"(D:\fw.Vkb)";
    QTest::newRow("windows unquoted") << false << R"("C:\ZARV_UI.exe" D:\fw.vkb)" << "";
    QTest::newRow("windows relative") << false << R"("C:\ZARV_UI.exe" "fw\a.vkb")" << "";
    QTest::newRow("windows other extension") << false << R"("C:\ZARV_UI.exe" "D:\fw.bin")" << "";
    QTest::newRow("windows program only") << false << R"("C:\ZARV_UI.exe")" << "";
    QTest::newRow("windows program path is no package") << false << R"("C:\vkb\x.vkb.exe")" << "";

    QTest::newRow("linux package") << true << R"("/opt/zarv/ZARV_UI" "/data/fw v2.vkb")" << "/data/fw v2.vkb";
    QTest::newRow("linux ending VKB") << true << R"("/opt/zarv/ZARV_UI" "/data/fw.VKB")" << "/data/fw.VKB";
    QTest::newRow("linux two packages run to the last")
        << true << R"("/opt/ZARV_UI" "/a.vkb" "/b.vkb")" << R"(/a.vkb" "/b.vkb)";
    QTest::newRow("linux relative") << true << R"("/opt/zarv/ZARV_UI" "data/fw.vkb")" << "";
    QTest::newRow("linux unquoted") << true << R"("/opt/zarv/ZARV_UI" /data/fw.vkb)" << "";
    QTest::newRow("linux no package") << true << R"("/opt/zarv/ZARV_UI" "--help")" << "";
    QTest::newRow("linux program named like a package") << true << R"("/opt/fw.vkb")" << "";
    QTest::newRow("linux program only") << true << R"("/opt/zarv/ZARV_UI")" << "";
}

void RegexSplitTest::packageOnTheCommandLine()
{
    QFETCH(bool, linux);
    QFETCH(QString, commandLine);
    QFETCH(QString, package);
    const QString programPattern = linux ? kLinuxProgramPattern : kWindowsProgramPattern;
    const QString packagePattern = linux ? kLinuxPackagePattern : kWindowsPackagePattern;
    QCOMPARE(PackageOnCommandLine(commandLine, programPattern, packagePattern), package);
}

void RegexSplitTest::programDirectory_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("directory");
    QTest::addColumn<QString>("file");
    QTest::newRow("windows") << R"([^\\]*$)" << R"(C:\Tools\ZARV_UI.exe)" << R"(C:\Tools\)" << "ZARV_UI.exe";
    QTest::newRow("windows drive root") << R"([^\\]*$)" << R"(C:\ZARV_UI.exe)" << R"(C:\)" << "ZARV_UI.exe";
    QTest::newRow("windows no backslash") << R"([^\\]*$)" << "ZARV_UI.exe" << "" << "ZARV_UI.exe";
    QTest::newRow("linux") << "[^/]*$" << "/opt/zarv/ZARV_UI" << "/opt/zarv/" << "ZARV_UI";
    QTest::newRow("linux root") << "[^/]*$" << "/ZARV_UI" << "/" << "ZARV_UI";
}

void RegexSplitTest::programDirectory()
{
    QFETCH(QString, pattern);
    QFETCH(QString, path);
    QFETCH(QString, directory);
    QFETCH(QString, file);
    QString before, match, after;
    QVERIFY(RegexSplit(path, pattern, before, match, after));
    QCOMPARE(before, directory);
    QCOMPARE(match, file);
    QCOMPARE(after, QString());
}

void RegexSplitTest::blankTest_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("matched");
    QTest::addColumn<QString>("match");
    QTest::newRow("three spaces") << "   " << true << "   ";
    QTest::newRow("empty") << "" << true << "";
    QTest::newRow("letter space letter") << "a b" << false << "";
    QTest::newRow("all four white spaces") << " \t\r\n" << true << " \t\r\n";
    QTest::newRow("line feed then letter") << "\na" << false << "";
    QTest::newRow("form feed") << "\f" << false << "";
}

void RegexSplitTest::blankTest()
{
    QFETCH(QString, text);
    QFETCH(bool, matched);
    QFETCH(QString, match);
    QString before, found, after;
    QCOMPARE(RegexSplit(text, u"^\\s*$", before, found, after), matched);
    QCOMPARE(found, match);
    QCOMPARE(before, QString());
    QCOMPARE(after, QString());
}

void RegexSplitTest::noMatchKeepsTheOutputs()
{
    QString before = QStringLiteral("b"), match = QStringLiteral("m"), after = QStringLiteral("a");
    QVERIFY(!RegexSplit(u"xyz", u"q", before, match, after));
    QCOMPARE(before, QStringLiteral("b"));
    QCOMPARE(match, QStringLiteral("m"));
    QCOMPARE(after, QStringLiteral("a"));
}

void RegexSplitTest::outputMayBeTheText()
{
    QString text = QStringLiteral("C:\\Tools\\ZARV_UI.exe");
    QString match, after;
    QVERIFY(RegexSplit(text, u"[^\\\\]*$", text, match, after));
    QCOMPARE(text, QStringLiteral("C:\\Tools\\"));
    QCOMPARE(match, QStringLiteral("ZARV_UI.exe"));
}

QTEST_APPLESS_MAIN(RegexSplitTest)
#include "RegexSplitTest.moc"
