#include "ElfFixture.h"

#include "config/ElfSection.h"
#include "config/ResourceLibrary.h"
#include "config/ResourceSection.h"

#include <QFile>
#include <QTest>
#include <QtEndian>

class ResourceLibraryTest : public QObject {
    Q_OBJECT

private slots:
    void deliveredLibraryCarriesTheDocumentsByteForByte();
    void deliveredLibraryExportsNoFunctions();
    void resourceNamesCompareWithoutCase_data();
    void resourceNamesCompareWithoutCase();
    void everyClassAndByteOrderIsRead_data();
    void everyClassAndByteOrderIsRead();
    void damagedFilesAreRefused_data();
    void damagedFilesAreRefused();
    void everyTruncationOfTheDeliveredLibraryIsRefused();
};

namespace {

const QStringList kDocuments{"ZARV_CONFIG.XML", "DEVICE_CONFIG.XML", "COMMONSETTING.XML", "ISSUE.XML"};

QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return file.readAll();
}

QString deliveredLibraryPath()
{
    return QStringLiteral(ZARV_PROGRAM_DIR "libSorrel.so");
}

ElfFixture fixture(bool wide = true, bool bigEndian = false)
{
    const QByteArray directory = resourceDirectory(
        {{23, 2052, "ZARV_CONFIG.XML", "<CONFIG/>"}, {6, 2052, "OTHER", "x"}, {23, 2052, "ISSUE.XML", "<ISSUELIST/>"}},
        bigEndian);
    return ElfFixture(wide, bigEndian,
                      {{".text", 1, "\x90\x90\xc3"}, {".zarv_resources", 1, directory}, {".comment", 1, "built"}});
}

constexpr int kResourceSectionIndex = 2;
constexpr quint64 kDirectoryEntries = 24;

} // namespace

void ResourceLibraryTest::deliveredLibraryCarriesTheDocumentsByteForByte()
{
    const Outcome<CResourceLibrary> library = CResourceLibrary::open(deliveredLibraryPath());
    QVERIFY2(library, qPrintable(library.error));
    const CResourceSection& section = library.value->section();
    QCOMPARE(section.fileVersion().toString(), QStringLiteral("1.0.0.1"));
    QCOMPARE(section.productVersion().toString(), QStringLiteral("1.0.0.1"));
    QCOMPARE(section.entries().size(), kDocuments.size());
    for (const ResourceEntry& entry : section.entries()) {
        QVERIFY2(kDocuments.contains(entry.name), qPrintable(entry.name));
        QCOMPARE(entry.type, 23u);
        QCOMPARE(entry.language, 2052u);
        QCOMPARE(entry.data.toByteArray(), readFile(ZARV_SOURCE_DIR "resources/" + entry.name));
    }
}

void ResourceLibraryTest::deliveredLibraryExportsNoFunctions()
{
    const QByteArray image = readFile(deliveredLibraryPath());
    QVERIFY2(image.size() > 5 && image[4] == 2 && image[5] == 1, "the test reads 64-bit little-endian symbols");
    const Outcome<ElfSection> symbols = FindElfSection(image, ".dynsym");
    const Outcome<ElfSection> names = FindElfSection(image, ".dynstr");
    QVERIFY2(symbols && names, qPrintable(symbols.error + names.error));
    constexpr qsizetype kSymbolSize = 24;
    const QByteArrayView table = symbols.value->contents;
    for (qsizetype at = 0; at + kSymbolSize <= table.size(); at += kSymbolSize) {
        const quint8 info = quint8(table[at + 4]);
        const quint16 sectionIndex = qFromLittleEndian<quint16>(table.data() + at + 6);
        const bool definedFunction = (info & 0xf) == 2 && sectionIndex != 0;
        const quint32 nameOffset = qFromLittleEndian<quint32>(table.data() + at);
        QVERIFY2(!definedFunction, names.value->contents.sliced(nameOffset).data());
    }
}

void ResourceLibraryTest::resourceNamesCompareWithoutCase_data()
{
    QTest::addColumn<quint32>("type");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("document");
    QTest::newRow("as the URL writes it") << 23u << "ZARV_CONFIG.xml" << "ZARV_CONFIG.XML";
    QTest::newRow("all lower case") << 23u << "device_config.xml" << "DEVICE_CONFIG.XML";
    QTest::newRow("mixed case") << 23u << "CommonSetting.Xml" << "COMMONSETTING.XML";
    QTest::newRow("exact") << 23u << "ISSUE.XML" << "ISSUE.XML";
    QTest::newRow("no extension") << 23u << "ISSUE" << QString();
    QTest::newRow("longer name") << 23u << "ISSUE.XML2" << QString();
    QTest::newRow("other type") << 10u << "ISSUE.XML" << QString();
    QTest::newRow("empty name") << 23u << "" << QString();
}

void ResourceLibraryTest::resourceNamesCompareWithoutCase()
{
    QFETCH(quint32, type);
    QFETCH(QString, name);
    QFETCH(QString, document);
    const Outcome<CResourceLibrary> library = CResourceLibrary::open(deliveredLibraryPath());
    QVERIFY2(library, qPrintable(library.error));
    const Outcome<QByteArray> resource = library.value->resource(type, name);
    if (document.isEmpty()) {
        QVERIFY(!resource);
        QVERIFY2(resource.error.contains(u"holds no resource"), qPrintable(resource.error));
    } else {
        QVERIFY2(resource, qPrintable(resource.error));
        QCOMPARE(*resource.value, readFile(ZARV_SOURCE_DIR "resources/" + document));
    }
}

void ResourceLibraryTest::everyClassAndByteOrderIsRead_data()
{
    QTest::addColumn<QByteArray>("image");
    for (const bool wide : {false, true}) {
        for (const bool bigEndian : {false, true}) {
            ElfFixture file = fixture(wide, bigEndian);
            const QByteArray name = QByteArray(wide ? "ELF64" : "ELF32") + (bigEndian ? " big-endian" : " little-endian");
            QTest::newRow(name.constData()) << file.bytes;
            // More sections than the header's count field can hold: the count and the
            // name table index move into section 0.
            file.put(file.linkField(0), quint64(file.nameTableIndex()), 4);
            file.put(file.sizeField(0), file.get(file.sectionCountField(), 2), file.wordWidth());
            file.put(file.sectionCountField(), 0, 2);
            file.put(file.nameTableIndexField(), 0xffff, 2);
            QTest::newRow((name + ", extended numbering").constData()) << file.bytes;
        }
    }
}

void ResourceLibraryTest::everyClassAndByteOrderIsRead()
{
    QFETCH(QByteArray, image);
    const Outcome<CResourceLibrary> library = CResourceLibrary::fromBytes(image, QStringLiteral("fixture"));
    QVERIFY2(library, qPrintable(library.error));
    QCOMPARE(library.value->section().fileVersion().toString(), QStringLiteral("1.0.0.1"));
    QCOMPARE(library.value->section().entries().size(), 3);
    QCOMPARE(library.value->resource(23, u"zarv_config.xml").value, QByteArray("<CONFIG/>"));
    QCOMPARE(library.value->resource(23, u"issue.xml").value, QByteArray("<ISSUELIST/>"));
    QCOMPARE(library.value->resource(6, u"other").value, QByteArray("x"));
    QVERIFY(!library.value->resource(23, u"other"));
}

void ResourceLibraryTest::damagedFilesAreRefused_data()
{
    QTest::addColumn<QByteArray>("image");
    QTest::addColumn<QString>("reason");
    const ElfFixture intact = fixture();
    const quint64 directory = intact.get(intact.offsetField(kResourceSectionIndex), 8);
    const quint64 firstEntry = directory + kDirectoryEntries;
    const auto damaged = [&](const char* row, const QString& reason, auto change) {
        ElfFixture file = intact;
        change(file);
        QTest::newRow(row) << file.bytes << reason;
    };

    QTest::newRow("empty file") << QByteArray() << "not an ELF file";
    QTest::newRow("text file") << QByteArray("<?xml version=\"1.0\"?><CONFIG/>") << "not an ELF file";
    QTest::newRow("header cut short") << intact.bytes.first(40) << "cut short";
    damaged("unknown class", "unknown ELF class", [](ElfFixture& f) { f.bytes[4] = 3; });
    damaged("unknown byte order", "unknown ELF class", [](ElfFixture& f) { f.bytes[5] = 0; });
    damaged("no section table", "no section table", [](ElfFixture& f) { f.put(f.sectionTableOffsetField(), 0, 8); });
    damaged("section table past the end", "outside the file",
            [](ElfFixture& f) { f.put(f.sectionTableOffsetField(), quint64(f.bytes.size()) - 10, 8); });
    damaged("section table offset wraps", "outside the file",
            [](ElfFixture& f) { f.put(f.sectionTableOffsetField(), ~quint64(0) - 8, 8); });
    damaged("too many sections", "outside the file", [](ElfFixture& f) { f.put(f.sectionCountField(), 0xfff0, 2); });
    damaged("section headers too small", "too small", [](ElfFixture& f) { f.put(f.sectionHeaderSizeField(), 8, 2); });
    damaged("name table index out of range", "out of range", [](ElfFixture& f) { f.put(f.nameTableIndexField(), 9, 2); });
    damaged("extended count huge", "outside the file", [](ElfFixture& f) {
        f.put(f.sectionCountField(), 0, 2);
        f.put(f.sizeField(0), quint64(1) << 60, 8);
    });
    damaged("extended name table index out of range", "out of range", [](ElfFixture& f) {
        f.put(f.nameTableIndexField(), 0xffff, 2);
        f.put(f.linkField(0), 0xffffff, 4);
    });
    damaged("name table past the end", "name table lies outside",
            [](ElfFixture& f) { f.put(f.offsetField(f.nameTableIndex()), quint64(f.bytes.size()), 8); });
    damaged("name table without bytes", "name table lies outside",
            [](ElfFixture& f) { f.put(f.typeField(f.nameTableIndex()), 8, 4); });
    damaged("section name outside the name table", "no section .zarv_resources",
            [](ElfFixture& f) { f.put(f.nameField(kResourceSectionIndex), 0xfffffff0, 4); });
    damaged("section name without terminator", "no section .zarv_resources", [](ElfFixture& f) {
        const quint64 names = f.get(f.offsetField(f.nameTableIndex()), 8);
        const quint64 size = f.get(f.sizeField(f.nameTableIndex()), 8);
        f.put(f.nameField(kResourceSectionIndex), size - 1, 4);
        f.bytes[qsizetype(names + size - 1)] = 'x';
    });
    damaged("section renamed", "no section .zarv_resources",
            [](ElfFixture& f) { f.bytes.replace(".zarv_resources", ".zarv_resourcez"); });
    damaged("section past the end", "lies outside the file",
            [](ElfFixture& f) { f.put(f.sizeField(kResourceSectionIndex), quint64(f.bytes.size()), 8); });
    damaged("section offset and size wrap", "lies outside the file", [](ElfFixture& f) {
        f.put(f.offsetField(kResourceSectionIndex), ~quint64(0) - 3, 8);
        f.put(f.sizeField(kResourceSectionIndex), 8, 8);
    });
    damaged("section without bytes", "lies outside the file",
            [](ElfFixture& f) { f.put(f.typeField(kResourceSectionIndex), 8, 4); });
    damaged("section too small for a directory", "no directory",
            [](ElfFixture& f) { f.put(f.sizeField(kResourceSectionIndex), 10, 8); });
    damaged("directory magic", "no directory", [=](ElfFixture& f) { f.bytes[qsizetype(directory)] = 'X'; });
    damaged("directory layout", "layout 2", [=](ElfFixture& f) { f.put(directory + 4, 2, 2); });
    damaged("directory count past the section", "cut short", [=](ElfFixture& f) { f.put(directory + 6, 0xffff, 2); });
    damaged("entry name past the section", "entry 0 lies outside", [=](ElfFixture& f) { f.put(firstEntry + 8, 0x7fffffff, 4); });
    damaged("entry name empty", "entry 0 lies outside", [=](ElfFixture& f) { f.put(firstEntry + 12, 0, 4); });
    damaged("entry data past the section", "entry 1 lies outside",
            [=](ElfFixture& f) { f.put(firstEntry + kDirectoryEntries + 20, 0x10000, 4); });
    damaged("entry data offset and size wrap", "entry 2 lies outside", [=](ElfFixture& f) {
        f.put(firstEntry + 2 * kDirectoryEntries + 16, 0xffffffff, 4);
        f.put(firstEntry + 2 * kDirectoryEntries + 20, 2, 4);
    });
}

void ResourceLibraryTest::damagedFilesAreRefused()
{
    QFETCH(QByteArray, image);
    QFETCH(QString, reason);
    const Outcome<CResourceLibrary> library = CResourceLibrary::fromBytes(image, QStringLiteral("libSorrel.so"));
    QVERIFY(!library);
    QVERIFY2(library.error.startsWith(u"libSorrel.so: "), qPrintable(library.error));
    QVERIFY2(library.error.contains(reason), qPrintable(library.error));
}

void ResourceLibraryTest::everyTruncationOfTheDeliveredLibraryIsRefused()
{
    const QByteArray image = readFile(deliveredLibraryPath());
    for (qsizetype size = 0; size < image.size(); size += 997) {
        const Outcome<CResourceLibrary> library = CResourceLibrary::fromBytes(image.first(size), QStringLiteral("cut"));
        QVERIFY2(!library, qPrintable(QString::number(size)));
    }
}

QTEST_GUILESS_MAIN(ResourceLibraryTest)
#include "ResourceLibraryTest.moc"
