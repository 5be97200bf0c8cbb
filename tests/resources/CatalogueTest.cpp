#include "ElfFixture.h"

#include "config/DeviceCatalogue.h"
#include "config/ProductCatalogue.h"

#include "platform/ProgramDirectory.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class CatalogueTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void shortVersion_data();
    void shortVersion();
    void versionIsReadThroughTheAccessor_data();
    void versionIsReadThroughTheAccessor();
    void modelsResolveToTheirLayout_data();
    void modelsResolveToTheirLayout();
    void layoutKeepsEveryPartInDocumentOrder();
    void damagedBlocksAreRefused_data();
    void damagedBlocksAreRefused();
    void deliveredModelsResolve_data();
    void deliveredModelsResolve();
    void outsideNamesMapToInsideNames_data();
    void outsideNamesMapToInsideNames();

private:
    QString writeFile(const QString& name, const QByteArray& bytes);
    QString installLibrary(const QString& folder, const QByteArray& library);
    QTemporaryDir m_dir;
};

namespace {

const QByteArray kDeviceFixture = R"(<?xml version="1.0" encoding="utf-8"?>
<!--SolutionType:0-UMS;1-ADB;2-model;3-uDisk;4-mavell;5-7KA;6-MTK;7-LC-->
<EnvironmentParam xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">
	<CONFIG_VERSION>V1.00.01</CONFIG_VERSION>
	<VK100A Index="AB12_01"/>
	<VK100B Index="AB12_01"/>
	<VK200-2 Index="AB12_02"/>
	<VK300 Index="AB12_09"/>
	<VK400/>
	<!--<VK450 Index="AB12_02"/>-->
	<Phone name="AB12_01">
		<ProjectInfo SolutionType="6" ChipsetType="12"/>
		<Download UnzipVKB="1">
			<DownloadType DownAndroid="1" DownMod="0"/>
		</Download>
		<Chcek PhoneMatch="1" UseNewBootloader="1"/>
		<Disk Size="7818182656"/>
		<FileInfo>
			<File filename="loader.bin" filecode="loader" isDown="1" transfer="0"/>
			<File filename="boot.img" filecode="boot" isDown="1" transfer="6"/>
			<File filename="userdata.img" filecode="userdata" isDown="0" transfer="6"/>
		</FileInfo>
	</Phone>
	<Phone name="AB12_02">
		<ProjectInfo SolutionType="3" ChipsetType="12"/>
		<Download UnzipVKB="0">
			<DownloadType DownAndroid="0" DownMod="1"/>
		</Download>
		<FileInfo>
			<File filename="update.zip" filecode="0" isDown="1" transfer="7"/>
		</FileInfo>
	</Phone>
	<Phone name="AB12_03">
		<ProjectInfo SolutionType="1" ChipsetType="12"/>
		<Download UnzipVKB="0">
			<DownloadType DownAndroid="1" DownMod="0"/>
		</Download>
		<FileInfo/>
	</Phone>
</EnvironmentParam>
)";

const QByteArray kProductFixture = R"(<?xml version="1.0" encoding="UTF-8"?>
<CONFIG>
	<ZARV_VERSION>V2.1.3_160101_02</ZARV_VERSION>
	<SameDeviceName>
		<SameDevice phone="5010X">5010X_*_5010D</SameDevice>
		<!--<SameDevice phone="5020X">5020X_*_5020D</SameDevice>-->
		<SameDevice phone="5030X">5030X_*_</SameDevice>
		<SameDevice phone="5040X">5040X to 5040D</SameDevice>
		<SameDevice phone="5050X">5050X_*_5050D_*_EU</SameDevice>
		<SameDevice phone="5010X">5010X_*_5010E</SameDevice>
	</SameDeviceName>
</CONFIG>
)";

const QString kLoadMessage = QStringLiteral("Could not load: %1\n"
                                            "1.Please make sure your xml file path and its format is correct.\n"
                                            "2.Moreover, please make sure your Windows system have installed MSXML.msi also.\n");

} // namespace

QString CatalogueTest::writeFile(const QString& name, const QByteArray& bytes)
{
    const QString path = m_dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

// A program directory of its own holding only the given resource library.
QString CatalogueTest::installLibrary(const QString& folder, const QByteArray& library)
{
    QDir(m_dir.path()).mkpath(folder);
    writeFile(folder + QStringLiteral("/libSorrel.so"), library);
    return m_dir.filePath(folder);
}

void CatalogueTest::init()
{
    Platform::setProgramDirectory(QStringLiteral(ZARV_PROGRAM_DIR));
}

void CatalogueTest::cleanup()
{
    Platform::setProgramDirectory(QString());
}

void CatalogueTest::shortVersion_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("shortVersion");
    QTest::newRow("catalogue version") << "V2.1.3_160101_02" << "V2.1.3.0";
    QTest::newRow("delivered version") << "V2.4.1_170308_05" << "V2.4.1.0";
    QTest::newRow("no underscore") << "V2.1.3" << ".0";
    QTest::newRow("empty") << "" << ".0";
    QTest::newRow("underscore first") << "_160101" << ".0";
    QTest::newRow("cut at the first underscore") << "V1_2_3" << "V1.0";
}

void CatalogueTest::shortVersion()
{
    QFETCH(QString, version);
    QFETCH(QString, shortVersion);
    QCOMPARE(CProductCatalogue::ShortVersion(version), shortVersion);
}

void CatalogueTest::versionIsReadThroughTheAccessor_data()
{
    QTest::addColumn<QString>("programDirectory");
    QTest::addColumn<QString>("source");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("error");
    using Read = CProductCatalogue::VersionRead;
    const QString url = CProductCatalogue::kUrl;
    QTest::newRow("delivered library") << ZARV_PROGRAM_DIR << url << int(Read::Read) << "V2.4.1_170308_05" << "";
    QTest::newRow("library absent") << m_dir.path() << url << int(Read::LoadFailed) << "unchanged" << kLoadMessage.arg(url);
    QTest::newRow("catalogue file") << ZARV_PROGRAM_DIR << writeFile("product.xml", kProductFixture) << int(Read::Read)
                                    << "V2.1.3_160101_02" << "";
    QTest::newRow("no version item") << ZARV_PROGRAM_DIR << writeFile("device.xml", kDeviceFixture) << int(Read::Missing)
                                     << "unchanged" << "Could not find: ZARV_VERSION item in xml file, please check your xml file!";
    const QString broken = writeFile("broken.xml", "<CONFIG><ZARV_VERSION>V1</CONFIG>");
    QTest::newRow("not well-formed") << ZARV_PROGRAM_DIR << broken << int(Read::LoadFailed) << "unchanged" << kLoadMessage.arg(broken);

    const auto library = [](const QByteArray& name, const QByteArray& document) {
        return ElfFixture(true, false, {{".zarv_resources", 1, resourceDirectory({{23, 2052, name, document}}, false)}}).bytes;
    };
    QTest::newRow("library of another catalogue")
        << installLibrary("example", library("ZARV_CONFIG.XML", "<CONFIG><ZARV_VERSION>V2.1.3_160101_02</ZARV_VERSION></CONFIG>"))
        << url << int(Read::Read) << "V2.1.3_160101_02" << "";
    QTest::newRow("catalogue in the library not well-formed")
        << installLibrary("malformed", library("ZARV_CONFIG.XML", "<CONFIG><ZARV_VERSION>V1</CONFIG>")) << url
        << int(Read::LoadFailed) << "unchanged" << kLoadMessage.arg(url);
    QTest::newRow("catalogue missing from the library")
        << installLibrary("missing", library("ISSUE.XML", "<ISSUELIST/>")) << url << int(Read::LoadFailed) << "unchanged"
        << kLoadMessage.arg(url);
    QFile delivered(QStringLiteral(ZARV_PROGRAM_DIR "libSorrel.so"));
    QVERIFY(delivered.open(QIODevice::ReadOnly));
    QTest::newRow("library cut short") << installLibrary("damaged", delivered.read(delivered.size() - 100)) << url
                                       << int(Read::LoadFailed) << "unchanged" << kLoadMessage.arg(url);
}

void CatalogueTest::versionIsReadThroughTheAccessor()
{
    QFETCH(QString, programDirectory);
    QFETCH(QString, source);
    QFETCH(int, result);
    QFETCH(QString, version);
    QFETCH(QString, error);
    Platform::setProgramDirectory(programDirectory);
    QString readVersion = QStringLiteral("unchanged");
    QString readError;
    QCOMPARE(int(CProductCatalogue::ReadVersion(readVersion, readError, source)), result);
    QCOMPARE(readVersion, version);
    QCOMPARE(readError, error);
}

void CatalogueTest::modelsResolveToTheirLayout_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("block");
    QTest::addColumn<QString>("error");
    QTest::newRow("model with its own entry") << "100A" << "AB12_01" << "";
    QTest::newRow("second model of a shared block") << "100B" << "AB12_01" << "";
    QTest::newRow("variant suffix") << "200-2" << "AB12_02" << "";
    QTest::newRow("Index names no block") << "300" << "" << "no Phone block named AB12_09";
    QTest::newRow("no Index") << "400" << "" << "VK400 has no Index";
    QTest::newRow("model only in a comment") << "450" << "" << "no model element VK450";
    QTest::newRow("unknown model") << "600" << "" << "no model element VK600";
    QTest::newRow("names compare exactly") << "100a" << "" << "no model element VK100a";
    QTest::newRow("not a tag name") << "100A Index" << "" << "no model element VK100A Index";
    QTest::newRow("empty model") << "" << "" << "no model element VK";
}

void CatalogueTest::modelsResolveToTheirLayout()
{
    QFETCH(QString, model);
    QFETCH(QString, block);
    QFETCH(QString, error);
    CDeviceCatalogue catalogue;
    QVERIFY(catalogue.Load(writeFile("device.xml", kDeviceFixture)));
    const Outcome<DeviceLayout> layout = catalogue.Resolve(model);
    QCOMPARE(layout.error, error);
    QCOMPARE(layout ? layout.value->block : QString(), block);
}

void CatalogueTest::layoutKeepsEveryPartInDocumentOrder()
{
    CDeviceCatalogue catalogue;
    QVERIFY(catalogue.Load(writeFile("device.xml", kDeviceFixture)));

    const Outcome<DeviceLayout> full = catalogue.Resolve(QStringLiteral("100A"));
    QVERIFY2(full, qPrintable(full.error));
    QCOMPARE(full.value->solutionType, 6);
    QCOMPARE(full.value->chipsetType, QStringLiteral("12"));
    QVERIFY(full.value->unzipVkb && full.value->downAndroid && !full.value->downMod);
    QVERIFY(full.value->check && full.value->check->phoneMatch && full.value->check->useNewBootloader);
    QCOMPARE(full.value->diskSize, std::optional<qint64>(7818182656));
    QCOMPARE(full.value->files.size(), 3);
    const QStringList expected{"loader.bin loader 1 0", "boot.img boot 1 6", "userdata.img userdata 0 6"};
    for (qsizetype i = 0; i < expected.size(); ++i) {
        const DeviceFile& file = full.value->files[i];
        QCOMPARE(QStringLiteral("%1 %2 %3 %4").arg(file.fileName, file.fileCode).arg(int(file.isDown)).arg(file.transfer), expected[i]);
    }

    const Outcome<DeviceLayout> plain = catalogue.Resolve(QStringLiteral("200-2"));
    QVERIFY2(plain, qPrintable(plain.error));
    QCOMPARE(plain.value->solutionType, 3);
    QVERIFY(!plain.value->unzipVkb && !plain.value->downAndroid && plain.value->downMod);
    QVERIFY(!plain.value->check);
    QVERIFY(!plain.value->diskSize);
    QCOMPARE(plain.value->files.size(), 1);
    QCOMPARE(plain.value->files[0].transfer, 7);

    const Outcome<DeviceLayout> unreferenced = catalogue.Block(QStringLiteral("AB12_03"));
    QVERIFY2(unreferenced, qPrintable(unreferenced.error));
    QVERIFY(unreferenced.value->files.isEmpty());
}

void CatalogueTest::damagedBlocksAreRefused_data()
{
    QTest::addColumn<QByteArray>("from");
    QTest::addColumn<QByteArray>("to");
    QTest::addColumn<QString>("error");
    QTest::newRow("solution type past 7") << QByteArray("SolutionType=\"6\"") << QByteArray("SolutionType=\"8\"")
                                          << "Phone block AB12_01 has SolutionType=\"8\", not a number from 0 to 7";
    QTest::newRow("switch other than 0 or 1") << QByteArray("UnzipVKB=\"1\"") << QByteArray("UnzipVKB=\"2\"")
                                              << "Phone block AB12_01 has UnzipVKB=\"2\", not a number from 0 to 1";
    QTest::newRow("signed number") << QByteArray("transfer=\"6\"") << QByteArray("transfer=\"-6\"")
                                   << "Phone block AB12_01 has transfer=\"-6\", not a number from 0 to 2147483647";
    QTest::newRow("number with spaces") << QByteArray("isDown=\"0\"") << QByteArray("isDown=\" 0\"")
                                        << "Phone block AB12_01 has isDown=\" 0\", not a number from 0 to 1";
    QTest::newRow("disk size with letters") << QByteArray("Size=\"7818182656\"") << QByteArray("Size=\"7818l82656\"")
                                            << "Phone block AB12_01 has Size=\"7818l82656\", not a number from 1 to 9223372036854775807";
    QTest::newRow("check value missing") << QByteArray("PhoneMatch=\"1\" ") << QByteArray()
                                         << "Phone block AB12_01 has a Chcek without PhoneMatch";
    QTest::newRow("file name missing") << QByteArray("filename=\"boot.img\" ") << QByteArray()
                                       << "Phone block AB12_01 has a File without filename";
    QTest::newRow("no ProjectInfo") << QByteArray("<ProjectInfo SolutionType=\"6\" ChipsetType=\"12\"/>") << QByteArray()
                                    << "Phone block AB12_01 has no ProjectInfo in Phone";
    QTest::newRow("no DownloadType") << QByteArray("<DownloadType DownAndroid=\"1\" DownMod=\"0\"/>") << QByteArray()
                                     << "Phone block AB12_01 has no DownloadType in Download";
}

void CatalogueTest::damagedBlocksAreRefused()
{
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, to);
    QFETCH(QString, error);
    QByteArray document = kDeviceFixture;
    const qsizetype at = document.indexOf(from);
    QVERIFY(at >= 0);
    document.replace(at, from.size(), to);
    CDeviceCatalogue catalogue;
    QVERIFY(catalogue.Load(writeFile("device.xml", document)));
    const Outcome<DeviceLayout> layout = catalogue.Resolve(QStringLiteral("100A"));
    QVERIFY(!layout);
    QCOMPARE(layout.error, error);
}

void CatalogueTest::deliveredModelsResolve_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("block");
    QTest::addColumn<int>("solutionType");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<int>("files");
    QTest::newRow("uDisk model") << "1040" << "DK2020_01" << 3 << false << 1;
    QTest::newRow("model with a variant") << "4490L_RU" << "KT4155_01" << 6 << true << 24;
    QTest::newRow("model of an ADB platform") << "5895" << "QV2105_01" << 1 << true << 23;
}

void CatalogueTest::deliveredModelsResolve()
{
    QFETCH(QString, model);
    QFETCH(QString, block);
    QFETCH(int, solutionType);
    QFETCH(bool, checked);
    QFETCH(int, files);
    CDeviceCatalogue catalogue;
    QVERIFY(catalogue.Load());
    const Outcome<DeviceLayout> layout = catalogue.Resolve(model);
    QVERIFY2(layout, qPrintable(layout.error));
    QCOMPARE(layout.value->block, block);
    QCOMPARE(layout.value->solutionType, solutionType);
    QCOMPARE(layout.value->check.has_value(), checked);
    QCOMPARE(layout.value->files.size(), files);
}

void CatalogueTest::outsideNamesMapToInsideNames_data()
{
    QTest::addColumn<bool>("delivered");
    QTest::addColumn<QString>("outside");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("inside");
    QTest::newRow("delivered entry") << true << "5895F" << true << "5895";
    QTest::newRow("delivered entry with a variant") << true << "5180R" << true << "5180_EU";
    QTest::newRow("delivered, not an outside name") << true << "5895" << false << "";
    QTest::newRow("first of two entries") << false << "5010X" << true << "5010D";
    QTest::newRow("entry in a comment") << false << "5020X" << false << "";
    QTest::newRow("empty inside name") << false << "5030X" << true << "";
    QTest::newRow("no separator") << false << "5040X" << false << "";
    QTest::newRow("text after the first separator") << false << "5050X" << true << "5050D_*_EU";
    QTest::newRow("names compare exactly") << false << "5010x" << false << "";
}

void CatalogueTest::outsideNamesMapToInsideNames()
{
    QFETCH(bool, delivered);
    QFETCH(QString, outside);
    QFETCH(bool, found);
    QFETCH(QString, inside);
    CProductCatalogue catalogue;
    QVERIFY(delivered ? catalogue.Load() : catalogue.Load(writeFile("product.xml", kProductFixture)));
    const std::optional<QString> mapped = catalogue.InsideModelName(outside);
    QCOMPARE(mapped.has_value(), found);
    QCOMPARE(mapped.value_or(QString()), inside);
}

QTEST_GUILESS_MAIN(CatalogueTest)
#include "CatalogueTest.moc"
