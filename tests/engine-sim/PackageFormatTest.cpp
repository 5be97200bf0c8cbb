// The package format, phone.ini and the text conversions of the engine stand-in,
// without loading the engine.
#include "download/PackageHeader.h"
#include "engine-sim/ByteOrder.h"
#include "engine-sim/Crc32.h"
#include "engine-sim/IniFile.h"
#include "engine-sim/PackageReader.h"
#include "engine-sim/PackageWriter.h"
#include "engine-sim/PhoneProfile.h"
#include "engine-sim/TextCodec.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace marlow;
using format::Partition;

class PackageFormatTest : public QObject {
    Q_OBJECT

private slots:
    void crcMatchesTheBitwiseDefinition();
    void everyHeaderFormRoundTrips_data();
    void everyHeaderFormRoundTrips();
    void writerRefusesBadInput_data();
    void writerRefusesBadInput();
    void readerRefusesUnsafeTables_data();
    void readerRefusesUnsafeTables();
    void phoneIni_data();
    void phoneIni();
    void textConversion_data();
    void textConversion();

private:
    QTemporaryDir m_dir;
};

namespace {

uint32_t bitwiseCrc(const QByteArray& bytes)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (const char byte : bytes) {
        crc ^= uint8_t(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ ((crc & 1u) ? 0xEDB88320u : 0u);
    }
    return ~crc;
}

std::span<const unsigned char> asBytes(const QByteArray& bytes)
{
    return {reinterpret_cast<const unsigned char*>(bytes.constData()), std::size_t(bytes.size())};
}

std::vector<unsigned char> filler(std::size_t size, unsigned char value)
{
    return std::vector<unsigned char>(size, value);
}

// Puts the checksums right again after a field has been changed on purpose.
void reseal(QByteArray& package)
{
    auto* bytes = reinterpret_cast<unsigned char*>(package.data());
    const uint32_t count = loadLittleEndian<uint32_t>(bytes + format::kFileCountAt);
    const qint64 tableSize = qMin<qint64>(qint64(count) * qint64(format::kEntrySize), package.size() - 128);
    storeLittleEndian<uint32_t>(bytes + format::kTableCrcAt,
                                Crc32::of(asBytes(package.mid(format::kTableOffset, tableSize))));
    storeLittleEndian<uint32_t>(bytes + format::kHeaderCrcAt,
                                Crc32::of(asBytes(package.first(format::kHeaderCrcAt))));
}

} // namespace

void PackageFormatTest::crcMatchesTheBitwiseDefinition()
{
    QCOMPARE(Crc32::of(asBytes("123456789")), 0xCBF43926u);
    QCOMPARE(Crc32::of(asBytes({})), 0u);
    // Every length around the eight-byte steps, fed whole and in two pieces.
    QByteArray bytes;
    for (int i = 0; i < 80; ++i)
        bytes.append(char(i * 37 + 11));
    for (int length = 0; length <= bytes.size(); ++length) {
        const QByteArray part = bytes.first(length);
        Crc32 pieces;
        pieces.update(asBytes(part.first(length / 3)));
        pieces.update(asBytes(part.sliced(length / 3)));
        QCOMPARE(Crc32::of(asBytes(part)), bitwiseCrc(part));
        QCOMPARE(pieces.value(), bitwiseCrc(part));
    }
}

void PackageFormatTest::everyHeaderFormRoundTrips_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<int>("capacity");
    QTest::newRow("13") << "13" << 59;
    QTest::newRow("WTVK") << "WTVK" << 59;
    QTest::newRow("14") << "14" << 27;
    QTest::newRow("15") << "15" << 27;
    QTest::newRow("16") << "16" << 27;
    QTest::newRow("17") << "17" << 15;
    QTest::newRow("18") << "18" << 59;
}

void PackageFormatTest::everyHeaderFormRoundTrips()
{
    QFETCH(QString, form);
    QFETCH(int, capacity);
    const auto headerForm = format::headerFormNamed(form.toStdString());
    QVERIFY(headerForm);
    const std::string model = std::string(std::size_t(capacity - 3), 'M') + "_Z9";
    const QString path = m_dir.filePath(form + ".vkb");
    PackageWriter writer(model, "V7.1", *headerForm);
    writer.addBytes("lk.bin", Partition::Lk, filler(1000, 1));
    writer.addBytes("system.img", Partition::System, filler(70000, 2));
    writer.addBytes("empty.bin", Partition::Cache, {});
    QVERIFY(writer.write(path.toStdString()));

    const auto reader = PackageReader::open(path.toStdString());
    QVERIFY2(reader, reader.ok() ? "" : reader.error().c_str());
    const PackageLayout& layout = (*reader)->layout();
    QCOMPARE(layout.form, *headerForm);
    QCOMPARE(layout.model, model);
    QCOMPARE(layout.version, std::string("V7.1"));
    QCOMPARE(layout.entries.size(), std::size_t(3));
    QCOMPARE(layout.entries[1].name, std::string("system.img"));
    QCOMPARE(layout.entries[1].partition, Partition::System);
    QCOMPARE(layout.entries[1].size, uint64_t(70000));
    for (std::size_t i = 0; i < layout.entries.size(); ++i)
        QVERIFY((*reader)->checkEntry(i, [] { return false; }));

    // The program's own header reader finds the same model.
    QString programModel;
    QVERIFY(ReadPackageModel(path, programModel));
    QCOMPARE(programModel, QString::fromStdString(model));

    PackageWriter tooLong(model + "x", "V7.1", *headerForm);
    tooLong.addBytes("lk.bin", Partition::Lk, filler(10, 1));
    QVERIFY(!tooLong.write(m_dir.filePath(form + "-long.vkb").toStdString()));
    QVERIFY(!QFile::exists(m_dir.filePath(form + "-long.vkb")));
}

void PackageFormatTest::writerRefusesBadInput_data()
{
    QTest::addColumn<QString>("mistake");
    QTest::addColumn<QString>("reason");
    QTest::newRow("a path as a name") << "../escape.img" << "\"../escape.img\" cannot be a file name in a package";
    QTest::newRow("a name twice") << "twice" << "lk.bin is in the package twice";
    QTest::newRow("a partition twice") << "partition twice" << "two files for partition lk";
    QTest::newRow("no model") << "no model" << "the model name must be printable ASCII and not empty";
    QTest::newRow("a long version") << "long version" << "the package version must be printable ASCII";
    QTest::newRow("no files") << "no files" << "a package holds 1 to 1024 files";
    QTest::newRow("a missing image") << "missing image" << "cannot read ";
}

void PackageFormatTest::writerRefusesBadInput()
{
    QFETCH(QString, mistake);
    QFETCH(QString, reason);
    PackageWriter writer(mistake == "no model" ? "" : "M1", mistake == "long version" ? std::string(32, 'v') : "V1");
    if (mistake != "no files")
        writer.addBytes(mistake == "../escape.img" ? "../escape.img" : "lk.bin", Partition::Lk, filler(10, 1));
    if (mistake == "twice")
        writer.addBytes("lk.bin", Partition::Boot, filler(10, 1));
    if (mistake == "partition twice")
        writer.addBytes("lk2.bin", Partition::Lk, filler(10, 1));
    if (mistake == "missing image")
        writer.addFile("boot.img", Partition::Boot, m_dir.filePath("nothing-here.img").toStdString());
    const QString target = m_dir.filePath("refused.vkb");
    const Status written = writer.write(target.toStdString());
    QVERIFY(!written);
    QVERIFY2(QString::fromStdString(written.error()).startsWith(reason), written.error().c_str());
    QVERIFY(!QFile::exists(target));
    QVERIFY(!QFile::exists(target + ".partial"));
}

void PackageFormatTest::readerRefusesUnsafeTables_data()
{
    QTest::addColumn<int>("at");         // offset in the package
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    const int first = int(format::kTableOffset);
    const int second = first + int(format::kEntrySize);
    auto number64 = [](uint64_t value) {
        QByteArray bytes(8, '\0');
        storeLittleEndian<uint64_t>(reinterpret_cast<unsigned char*>(bytes.data()), value);
        return bytes;
    };
    QTest::newRow("a path in a name") << first << QByteArray("../../etc/x\0", 12)
                                      << "damaged file table: entry 1 has an unusable file name";
    QTest::newRow("a name without end") << first << QByteArray(48, 'a') << "damaged file table: entry 1 has no name end";
    QTest::newRow("an unknown partition") << first + 48 << QByteArray("\x2A\0\0\0", 4)
                                          << "damaged file table: entry 1 (lk.bin) names unknown partition code 42";
    QTest::newRow("contents over the table") << second + 64 << number64(130)
                                             << "damaged file table: entry 2 (system.img) overlaps the file table";
    QTest::newRow("contents past the end") << second + 56 << number64(1 << 20) << "package is truncated (system.img)";
    QTest::newRow("an offset that wraps") << second + 64 << number64(~uint64_t(0) - 4)
                                          << "package is truncated (system.img)";
    QTest::newRow("a name twice") << second << QByteArray("lk.bin\0", 7) << "damaged file table: lk.bin appears twice";
    QTest::newRow("a partition twice") << second + 48 << QByteArray("\x02\0\0\0", 4)
                                       << "damaged file table: two files for partition lk";
    QTest::newRow("no files") << int(format::kFileCountAt) << QByteArray(4, '\0') << "damaged file table: 0 files";
    QTest::newRow("too many files") << int(format::kFileCountAt) << QByteArray("\x88\x13\0\0", 4)
                                    << "damaged file table: 5000 files";
    QTest::newRow("more files than bytes") << int(format::kFileCountAt) << QByteArray("\x00\x04\0\0", 4)
                                           << "package is truncated (file table)";
    QTest::newRow("a later revision") << int(format::kRevisionAt) << QByteArray("\x02\0\0\0", 4)
                                      << "unsupported package revision 2";
}

void PackageFormatTest::readerRefusesUnsafeTables()
{
    QFETCH(int, at);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    PackageWriter writer("M1", "V1");
    writer.addBytes("lk.bin", Partition::Lk, filler(100, 1));
    writer.addBytes("system.img", Partition::System, filler(300, 2));
    const QString path = m_dir.filePath("unsafe.vkb");
    QVERIFY(writer.write(path.toStdString()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QByteArray package = file.readAll();
    package.replace(at, bytes.size(), bytes);
    reseal(package);
    QVERIFY(file.seek(0) && file.write(package) == package.size());
    file.close();

    const auto reader = PackageReader::open(path.toStdString());
    QVERIFY(!reader);
    QCOMPARE(QString::fromStdString(reader.error()), reason);
    const auto parsed = PackageReader::parseLayout(asBytes(package), uint64_t(package.size()));
    QVERIFY(!parsed);
    QCOMPARE(QString::fromStdString(parsed.error()), reason);
}

void PackageFormatTest::phoneIni_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QString>("summary");
    QTest::newRow("full") << QByteArray("# a phone\nModel = TP100\nserial=A1\nemmc_cid=150100aabbccddeeff00112233445566\n"
                                        "fuse=open\ninstrument=fail\nusb=1-1.4\nspeed=1000\nfail_at=99\n")
                          << "" << "TP100 A1 sound-cid open fail 1-1.4 1000 99";
    QTest::newRow("defaults") << QByteArray("model=X\r\n\r\n; nothing else\r\n") << ""
                              << "X  bad-cid blown pass bay/cell2 0 -";
    QTest::newRow("all-zero CID") << QByteArray("emmc_cid=00000000000000000000000000000000") << ""
                                  << "  bad-cid blown pass bay/cell2 0 -";
    QTest::newRow("unknown key") << QByteArray("model=X\nsped=4\n") << "unknown key sped" << "";
    QTest::newRow("no equals sign") << QByteArray("model=X\nfuse\n") << "line 2: expected key=value" << "";
    QTest::newRow("bad fuse") << QByteArray("fuse=maybe") << "fuse must be blown or open" << "";
    QTest::newRow("bad speed") << QByteArray("speed=-5") << "speed must be a whole number of bytes per second" << "";
    QTest::newRow("fail_at 100") << QByteArray("fail_at=100") << "fail_at must be a percentage from 0 to 99" << "";
}

void PackageFormatTest::phoneIni()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, error);
    QFETCH(QString, summary);
    Result<PhoneProfile> phone = Result<PhoneProfile>::failure("not parsed");
    const Result<IniFile> ini = IniFile::parse(text.toStdString());
    if (!ini)
        phone = Result<PhoneProfile>::failure(ini.error());
    else
        phone = PhoneProfile::fromIni(*ini);
    if (!error.isEmpty()) {
        QVERIFY(!phone);
        QCOMPARE(QString::fromStdString(phone.error()), error);
        return;
    }
    QVERIFY2(phone, phone.ok() ? "" : phone.error().c_str());
    const QString parsed = QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8")
                               .arg(QString::fromStdString(phone->model), QString::fromStdString(phone->serial),
                                    phone->cidIsSound() ? "sound-cid" : "bad-cid", phone->fuseBlown ? "blown" : "open",
                                    phone->instrumentPassed ? "pass" : "fail",
                                    QString::fromStdString(phone->usbAddressOr(2)))
                               .arg(phone->bytesPerSecond)
                               .arg(phone->failAtPercent ? QString::number(*phone->failAtPercent) : "-");
    QCOMPARE(parsed, summary);
    // Written out and read again, the phone is the same.
    const Result<PhoneProfile> again = PhoneProfile::fromIni(*IniFile::parse(phone->toIni().text()));
    QVERIFY(again);
    QCOMPARE(again->toIni().text(), phone->toIni().text());
}

void PackageFormatTest::textConversion_data()
{
    QTest::addColumn<QByteArray>("utf8");
    QTest::addColumn<QString>("expected");
    QTest::newRow("ASCII") << QByteArray("cell 3") << "cell 3";
    QTest::newRow("Chinese") << QByteArray("\xE4\xB8\x8B\xE8\xBD\xBD") << QString::fromUtf8("下载");
    QTest::newRow("beyond the basic plane") << QByteArray("\xF0\x9F\x98\x80") << QString::fromUtf8("\xF0\x9F\x98\x80");
    QTest::newRow("a stray byte") << QByteArray("a\xFFz") << QStringLiteral("a\uFFFDz");
    QTest::newRow("a sequence cut short") << QByteArray("a\xE4\xB8") << QStringLiteral("a\uFFFD");
    QTest::newRow("an overlong form") << QByteArray("\xC0\xAF") << QStringLiteral("\uFFFD");
}

void PackageFormatTest::textConversion()
{
    QFETCH(QByteArray, utf8);
    QFETCH(QString, expected);
    const std::u16string units = toUtf16(utf8.toStdString());
    QCOMPARE(QString::fromStdU16String(units), expected);
    QCOMPARE(QString::fromStdString(toUtf8(units)), expected);
    // A lone surrogate from the host becomes a replacement character, not bad UTF-8.
    QCOMPARE(QString::fromStdString(toUtf8(u"x\xD800y")), QStringLiteral("x\uFFFDy"));
}

QTEST_GUILESS_MAIN(PackageFormatTest)
#include "PackageFormatTest.moc"
