#include "CatalogueCheck.h"

#include "platform/ProgramDirectory.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <pugixml.hpp>

using Check = QStringList (*)(const QString&);
Q_DECLARE_METATYPE(Check)

class CatalogueCheckTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void deliveredDocumentsHoldTogether_data();
    void deliveredDocumentsHoldTogether();
    void deliveredCatalogueHasItsRows_data();
    void deliveredCatalogueHasItsRows();
    void faultsAreFound_data();
    void faultsAreFound();
};

namespace {

QString sourcePath(const QString& document)
{
    return QStringLiteral(ZARV_SOURCE_DIR "resources/") + document;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return file.readAll();
}

void addDocuments()
{
    QTest::addColumn<QString>("document");
    QTest::addColumn<Check>("check");
}

} // namespace

void CatalogueCheckTest::init()
{
    Platform::setProgramDirectory(QStringLiteral(ZARV_PROGRAM_DIR));
}

void CatalogueCheckTest::cleanup()
{
    Platform::setProgramDirectory(QString());
}

void CatalogueCheckTest::deliveredDocumentsHoldTogether_data()
{
    addDocuments();
    QTest::newRow("product catalogue") << "ZARV_CONFIG.XML" << &CheckProductCatalogue;
    QTest::newRow("device catalogue") << "DEVICE_CONFIG.XML" << &CheckDeviceCatalogue;
    QTest::newRow("issue list") << "ISSUE.XML" << &CheckIssueList;
    QTest::newRow("common settings") << "COMMONSETTING.XML" << &CheckCommonSettings;
}

void CatalogueCheckTest::deliveredDocumentsHoldTogether()
{
    QFETCH(QString, document);
    QFETCH(Check, check);
    const QStringList problems = check(sourcePath(document));
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
}

void CatalogueCheckTest::deliveredCatalogueHasItsRows_data()
{
    QTest::addColumn<QString>("document");
    QTest::addColumn<QString>("count");
    QTest::addColumn<int>("expected");
    const QString product = QStringLiteral("ZARV_CONFIG.XML");
    const QString device = QStringLiteral("DEVICE_CONFIG.XML");
    const QString issues = QStringLiteral("ISSUE.XML");
    QTest::newRow("assembly models") << product << "count(/CONFIG/Assembly/Phone)" << 272;
    QTest::newRow("assembly platforms") << product << "count(/CONFIG/Assembly/Phone[not(@platform = preceding-sibling::Phone/@platform)])" << 48;
    QTest::newRow("customer models") << product << "count(/CONFIG/Customer/Phone)" << 48;
    QTest::newRow("customer platforms") << product << "count(/CONFIG/Customer/Phone[not(@platform = preceding-sibling::Phone/@platform)])" << 22;
    QTest::newRow("rows inside comments") << product << "count(//comment()[contains(., '<Phone ')])" << 5;
    QTest::newRow("same devices") << product << "count(/CONFIG/SameDeviceName/SameDevice)" << 20;
    QTest::newRow("switch phones") << product << "count(/CONFIG/SwitchProtocol/SwitchPhone)" << 21;
    QTest::newRow("model elements") << device << "count(/EnvironmentParam/*[starts-with(name(), 'VK')])" << 277;
    QTest::newRow("phone blocks") << device << "count(/EnvironmentParam/Phone)" << 44;
    QTest::newRow("blocks named by no model") << device << "count(/EnvironmentParam/Phone[not(@name = /EnvironmentParam/*/@Index)])" << 7;
    QTest::newRow("checked blocks") << device << "count(//Phone/Chcek)" << 33;
    QTest::newRow("blocks with a disk") << device << "count(//Phone/Disk)" << 4;
    QTest::newRow("files") << device << "count(//FileInfo/File)" << 838;
    QTest::newRow("largest file list") << device << "count(//FileInfo[count(File) = 63])" << 1;
    QTest::newRow("smallest file lists") << device << "count(//FileInfo[count(File) = 1])" << 1;
    QTest::newRow("issue categories") << issues << "count(/ISSUELIST/issue)" << 17;
    QTest::newRow("fault items") << issues << "count(/ISSUELIST/issue/subissue)" << 137;
    QTest::newRow("largest category") << issues << "count(/ISSUELIST/issue[count(subissue) = 23])" << 1;
}

void CatalogueCheckTest::deliveredCatalogueHasItsRows()
{
    QFETCH(QString, document);
    QFETCH(QString, count);
    QFETCH(int, expected);
    const QByteArray bytes = readFile(sourcePath(document));
    pugi::xml_document parsed;
    QVERIFY(parsed.load_buffer(bytes.constData(), size_t(bytes.size()), pugi::parse_default | pugi::parse_comments));
    const pugi::xpath_query query(count.toUtf8().constData());
    QCOMPARE(int(query.evaluate_number(parsed)), expected);
}

void CatalogueCheckTest::faultsAreFound_data()
{
    addDocuments();
    QTest::addColumn<QByteArray>("from");
    QTest::addColumn<QByteArray>("to");
    QTest::addColumn<QString>("problem");
    const auto row = [](const char* name, const char* document, Check check, const QByteArray& from, const QByteArray& to,
                        const char* problem) {
        QTest::newRow(name) << QString::fromLatin1(document) << check << from << to << QString::fromUtf8(problem);
    };
    const char* device = "DEVICE_CONFIG.XML";
    row("Index names no block", device, &CheckDeviceCatalogue, "<VK1040 Index=\"DK2020_01\"/>", "<VK1040 Index=\"DK2020_07\"/>",
        "model 1040: no Phone block named DK2020_07");
    row("model element with content", device, &CheckDeviceCatalogue, "<VK1040 Index=\"DK2020_01\"/>",
        "<VK1040 Index=\"DK2020_01\">x</VK1040>", "model element VK1040 is not an empty element");
    row("parts out of order", device, &CheckDeviceCatalogue,
        "\t\t<Chcek PhoneMatch=\"1\" UseNewBootloader=\"1\"/>\r\n\t\t<Disk Size=\"3909091328\"/>",
        "\t\t<Disk Size=\"3909091328\"/>\r\n\t\t<Chcek PhoneMatch=\"1\" UseNewBootloader=\"1\"/>", "parts out of order");
    row("check tag spelt otherwise", device, &CheckDeviceCatalogue, "<Chcek ", "<Check ", "parts out of order");
    row("Chcek value", device, &CheckDeviceCatalogue, "<Chcek PhoneMatch=\"1\"", "<Chcek PhoneMatch=\"0\"", "Chcek values");
    row("solution type out of range", device, &CheckDeviceCatalogue, "<ProjectInfo SolutionType=\"3\" ChipsetType=\"2020\"/>",
        "<ProjectInfo SolutionType=\"9\" ChipsetType=\"2020\"/>", "Phone block DK2020_01 has SolutionType=\"9\"");
    row("file switch", device, &CheckDeviceCatalogue, "isDown=\"1\"", "isDown=\"yes\"", "has isDown=\"yes\"");
    row("disk size of nine digits", device, &CheckDeviceCatalogue, "Size=\"3909091328\"", "Size=\"390909132\"", "Disk Size \"390909132\"");
    row("empty file list", device, &CheckDeviceCatalogue,
        "<FileInfo>\r\n\t\t\t<File filename=\"update.zip\" filecode=\"0\" isDown=\"1\" transfer=\"0\"/>\r\n\t\t</FileInfo>",
        "<FileInfo/>", "Phone block DK2020_01: FileInfo holds no File");
    row("block name twice", device, &CheckDeviceCatalogue, "<Phone name=\"QV3310_03\">", "<Phone name=\"QV3310_01\">",
        "Phone block QV3310_01 twice");
    row("legend changed", device, &CheckDeviceCatalogue, "0-dot download model-->", "0-do not download model-->", "legend comments differ");
    row("byte-order mark", device, &CheckDeviceCatalogue, "<?xml ", "\xef\xbb\xbf<?xml ", "a byte-order mark");
    row("catalogue version form", device, &CheckDeviceCatalogue, "V1.07.23", "V1.7.23", "CONFIG_VERSION form");
    row("not well-formed", device, &CheckDeviceCatalogue, "</EnvironmentParam>", "</Environment>", "not well-formed");

    const char* product = "ZARV_CONFIG.XML";
    row("no byte-order mark", product, &CheckProductCatalogue, "\xef\xbb\xbf<?xml ", "<?xml ", "no byte-order mark");
    row("version missing", product, &CheckProductCatalogue, "<ZARV_VERSION>V2.4.1_170308_05</ZARV_VERSION>", "", "sections out of order");
    row("version form", product, &CheckProductCatalogue, "V2.4.1_170308_05", "V2.4.1-170308-05", "ZARV_VERSION form");
    row("platform without Android", product, &CheckProductCatalogue, "platform=\"DK2020_4.4\">1040<", "platform=\"DK2020\">1040<",
        "platform \"DK2020\"");
    row("model name form", product, &CheckProductCatalogue, ">1040</Phone>", ">1040 A</Phone>", "model name \"1040 A\"");
    row("model twice", product, &CheckProductCatalogue, ">1290E</Phone>", ">1040</Phone>", "1040 twice in Assembly");
    row("same device separator", product, &CheckProductCatalogue, ">5895F_*_5895<", ">5895F_-_5895<", "SameDevice 5895F");
    row("switch override out of range", product, &CheckProductCatalogue, "<ProjectInfo SolutionType=\"1\" ChipsetType=\"8610\"/>",
        "<ProjectInfo SolutionType=\"8\" ChipsetType=\"8610\"/>", "SwitchPhone 2410K values");

    const char* issues = "ISSUE.XML";
    row("id twice", issues, &CheckIssueList, "id=\"T01002\"", "id=\"T01001\"", "id T01001 twice");
    row("id of another category", issues, &CheckIssueList, "id=\"T02001\"", "id=\"T01009\"", "id T01009 where T02001 belongs");
    row("id form", issues, &CheckIssueList, "id=\"T17001\"", "id=\"T1701\"", "id \"T1701\" is not T and five digits");
    row("fault without description", issues, &CheckIssueList, "type=\"不开机\" ", "", "issue 1 item 1 is not a subissue with a type");

    const char* settings = "COMMONSETTING.XML";
    row("declaration added", settings, &CheckCommonSettings, "<EnvironmentParam ", "<?xml version=\"1.0\"?>\r\n<EnvironmentParam ",
        "an XML declaration");
    row("download path part missing", settings, &CheckCommonSettings, "\t\t\t<GPS Path=\"\"/>\r\n", "", "DownloadPath parts");
}

void CatalogueCheckTest::faultsAreFound()
{
    QFETCH(QString, document);
    QFETCH(Check, check);
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, to);
    QFETCH(QString, problem);
    QByteArray bytes = readFile(sourcePath(document));
    const qsizetype at = bytes.indexOf(from);
    QVERIFY2(at >= 0, from.constData());
    bytes.replace(at, from.size(), to);
    QTemporaryDir directory;
    const QString path = directory.filePath(document);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();

    const QStringList problems = check(path);
    QVERIFY2(problems.filter(problem).size() > 0, qPrintable(problems.join(u'\n')));
}

QTEST_GUILESS_MAIN(CatalogueCheckTest)
#include "CatalogueCheckTest.moc"
