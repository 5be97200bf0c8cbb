#include "config/ResProtocol.h"

#include "platform/ProgramDirectory.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class ResProtocolTest : public QObject {
    Q_OBJECT

private slots:
    void urlsAreParsed_data();
    void urlsAreParsed();
    void libraryFileNames_data();
    void libraryFileNames();
    void resourcesAreReadFromTheProgramDirectory_data();
    void resourcesAreReadFromTheProgramDirectory();
    void deliveredInstallationServesBothCatalogues();
    void cleanup();
};

namespace {

QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return file.readAll();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

const QString kDelivered = QStringLiteral(ZARV_PROGRAM_DIR "libSorrel.so");

} // namespace

void ResProtocolTest::cleanup()
{
    Platform::setProgramDirectory(QString());
}

void ResProtocolTest::urlsAreParsed_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("library");
    QTest::addColumn<quint32>("type");
    QTest::addColumn<QString>("resource");
    QTest::newRow("catalogue") << "res://Sorrel.dll//ZARV_CONFIG.xml" << true << "Sorrel.dll" << 23u << "ZARV_CONFIG.xml";
    QTest::newRow("scheme in capitals") << "RES://Sorrel.dll//ISSUE.XML" << true << "Sorrel.dll" << 23u << "ISSUE.XML";
    QTest::newRow("no type") << "res://Sorrel.dll/ISSUE.XML" << true << "Sorrel.dll" << 23u << "ISSUE.XML";
    QTest::newRow("numeric type") << "res://Sorrel.dll/6/NAME" << true << "Sorrel.dll" << 6u << "NAME";
    QTest::newRow("type with hash") << "res://Sorrel.dll/#23/NAME" << true << "Sorrel.dll" << 23u << "NAME";
    QTest::newRow("named type") << "res://Sorrel.dll/HTML/NAME" << false << QString() << 0u << QString();
    QTest::newRow("file path") << "/opt/zarv/ZARV_CONFIG.xml" << false << QString() << 0u << QString();
    QTest::newRow("other scheme") << "file://Sorrel.dll//ZARV_CONFIG.xml" << false << QString() << 0u << QString();
    QTest::newRow("no resource") << "res://Sorrel.dll//" << false << QString() << 0u << QString();
    QTest::newRow("library only") << "res://Sorrel.dll" << false << QString() << 0u << QString();
    QTest::newRow("no library") << "res:///23/NAME" << false << QString() << 0u << QString();
    QTest::newRow("resource with a path") << "res://Sorrel.dll//a/b" << false << QString() << 0u << QString();
    QTest::newRow("parent folder") << "res://..//ZARV_CONFIG.xml" << false << QString() << 0u << QString();
    QTest::newRow("backslash path") << "res://..\\etc\\Sorrel.dll//X" << false << QString() << 0u << QString();
}

void ResProtocolTest::urlsAreParsed()
{
    QFETCH(QString, url);
    QFETCH(bool, valid);
    QFETCH(QString, library);
    QFETCH(quint32, type);
    QFETCH(QString, resource);
    const std::optional<ResUrl> parsed = CResProtocol::parse(url);
    QCOMPARE(parsed.has_value(), valid);
    if (!valid)
        return;
    QCOMPARE(parsed->library, library);
    QCOMPARE(parsed->type, type);
    QCOMPARE(parsed->resource, resource);
}

void ResProtocolTest::libraryFileNames_data()
{
    QTest::addColumn<QString>("library");
    QTest::addColumn<QString>("fileName");
    QTest::newRow("dll") << "Sorrel.dll" << "libSorrel.so";
    QTest::newRow("DLL in capitals") << "Sorrel.DLL" << "libSorrel.so";
    QTest::newRow("no extension") << "Sorrel" << "libSorrel.so";
}

void ResProtocolTest::libraryFileNames()
{
    QFETCH(QString, library);
    QFETCH(QString, fileName);
    const ResUrl url{library, 23, QStringLiteral("X")};
    QCOMPARE(url.libraryFileName(), fileName);
}

void ResProtocolTest::resourcesAreReadFromTheProgramDirectory_data()
{
    QTest::addColumn<QString>("installedAs");
    QTest::addColumn<QByteArray>("installed");
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("document");
    QTest::addColumn<QString>("reason");
    const QByteArray library = readFile(kDelivered);
    QTest::newRow("catalogue") << "libSorrel.so" << library << "res://Sorrel.dll//ZARV_CONFIG.xml" << "ZARV_CONFIG.XML" << "";
    QTest::newRow("names in any case") << "libSorrel.so" << library << "res://sorrel.DLL//device_config.XML" << "DEVICE_CONFIG.XML" << "";
    QTest::newRow("library file in other case") << "LIBSORREL.SO" << library << "res://Sorrel.dll//ISSUE.xml" << "ISSUE.XML" << "";
    QTest::newRow("library absent") << "other.so" << library << "res://Sorrel.dll//ZARV_CONFIG.xml" << "" << "libSorrel.so is not in";
    QTest::newRow("resource absent") << "libSorrel.so" << library << "res://Sorrel.dll//USERCONFIG.xml" << "" << "holds no resource USERCONFIG.xml";
    QTest::newRow("library damaged") << "libSorrel.so" << library.first(library.size() / 2) << "res://Sorrel.dll//ZARV_CONFIG.xml"
                                     << "" << "libSorrel.so: the section table lies outside the file";
    QTest::newRow("library not ELF") << "libSorrel.so" << QByteArray("<CONFIG/>") << "res://Sorrel.dll//ZARV_CONFIG.xml"
                                     << "" << "libSorrel.so: not an ELF file";
    QTest::newRow("not a res URL") << "libSorrel.so" << library << "res://Sorrel.dll" << "" << "not a res: URL";
}

void ResProtocolTest::resourcesAreReadFromTheProgramDirectory()
{
    QFETCH(QString, installedAs);
    QFETCH(QByteArray, installed);
    QFETCH(QString, url);
    QFETCH(QString, document);
    QFETCH(QString, reason);
    QTemporaryDir directory;
    writeFile(directory.filePath(installedAs), installed);
    Platform::setProgramDirectory(directory.path());

    const Outcome<QByteArray> read = CResProtocol::read(url);
    if (document.isEmpty()) {
        QVERIFY(!read);
        QVERIFY2(read.error.contains(reason), qPrintable(read.error));
    } else {
        QVERIFY2(read, qPrintable(read.error));
        QCOMPARE(*read.value, readFile(ZARV_SOURCE_DIR "resources/" + document));
    }
}

void ResProtocolTest::deliveredInstallationServesBothCatalogues()
{
    Platform::setProgramDirectory(QStringLiteral(ZARV_PROGRAM_DIR));
    for (const QString document : {"ZARV_CONFIG", "DEVICE_CONFIG"}) {
        const Outcome<QByteArray> read = CResProtocol::read(QStringLiteral("res://Sorrel.dll//%1.xml").arg(document));
        QVERIFY2(read, qPrintable(read.error));
        QCOMPARE(*read.value, readFile(ZARV_SOURCE_DIR "resources/" + document + ".XML"));
    }
}

QTEST_GUILESS_MAIN(ResProtocolTest)
#include "ResProtocolTest.moc"
