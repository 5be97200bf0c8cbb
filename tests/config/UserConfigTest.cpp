#include "ConfigTestFiles.h"
#include "config/OptionText.h"
#include "config/UserConfig.h"
#include "config/XMLConfig.h"
#include "platform/MessageBox.h"
#include "platform/ProgramDirectory.h"
#include "tests/support/MessageBoxRecorder.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(DownloadOptions)
Q_DECLARE_METATYPE(ProfileRead)

class UserConfigTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void encodingMatchesTheStoredForm_data();
    void encodingMatchesTheStoredForm();
    void textsThatCannotBeEncoded_data();
    void textsThatCannotBeEncoded();
    void storedFormsThatDoNotDecode_data();
    void storedFormsThatDoNotDecode();
    void decodingStopsAtTheEndOfTheAlphabet();
    void anyChangedFirstCharacterFailsTheChecksum();
    void optionStringsRoundTrip_data();
    void optionStringsRoundTrip();
    void flagReadersByKeyAndByPosition_data();
    void flagReadersByKeyAndByPosition();
    void readSavedProfileOutcomes_data();
    void readSavedProfileOutcomes();
    void savedProfileReadsBack();
    void saveCreatesTheMissingProfile();
    void saveIntoAnUnloadableFileChangesNothing_data();
    void saveIntoAnUnloadableFileChangesNothing();
    void shippedFileStartsWithoutAProfile();

private:
    QString configPath() const { return m_dir.filePath("UserConfig.xml"); }
    QTemporaryDir m_dir;
    MessageBoxRecorder m_messages;
};

namespace {

DownloadOptions Options(std::initializer_list<int> flags)
{
    const std::vector<int> f(flags);
    return {f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8]};
}

QString Encoded(const QString& plain)
{
    return EncodeOptionText(plain).value_or(QStringLiteral("(not encodable)"));
}

QString Tampered(const QString& encoded)
{
    QString changed = encoded;
    changed[0] = changed[0] == QLatin1Char('A') ? QLatin1Char('B') : QLatin1Char('A');
    return changed;
}

// A user configuration file; an absent value leaves its element out.
QByteArray ConfigFile(const std::optional<QString>& res, const std::optional<QString>& check,
                      const std::optional<QString>& subarea)
{
    QString xml = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<CONFIG xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n"
        "\t<LASTUSER>3</LASTUSER>\n\t<LANG>0</LANG>\n\t<VKB_PATH>/packages/M1.vkb</VKB_PATH>\n\t<GPS_PATH></GPS_PATH>\n"
        "\t<LASTSETTING CFGVERSION=\"V1.0\">\n");
    const auto element = [&xml](const QString& tag, const std::optional<QString>& value) {
        if (value)
            xml += QStringLiteral("\t\t<%1>%2</%1>\n").arg(tag, *value);
    };
    element("DOWNLOAD_RES", res);
    element("DOWNLOAD_CHECK", check);
    element("DOWNLOAD_SUBAREA", subarea);
    xml += QStringLiteral("\t</LASTSETTING>\n</CONFIG>\n");
    return xml.toUtf8();
}

const QStringList kSaved = {QStringLiteral("DownLoadVKB.TRUE#DownloadRES.FALSE#"),
                            QStringLiteral("CKPhoneName.TRUE#CKeMMC.FALSE#CKFuse.TRUE#CKInstrument.FALSE#"),
                            QStringLiteral("DownSystem.TRUE#DownUserdata.TRUE#DownLK.FALSE#")};

QString LoadMessage(const QString& path)
{
    return QStringLiteral(
               "Could not load: %1\n"
               "1.Please make sure your xml file path and its format is correct.\n"
               "2.Moreover, please make sure your Windows system have installed MSXML.msi also.\n")
        .arg(path);
}

QString ItemMessage(const QString& tag)
{
    return QStringLiteral("Could not find: %1 item in xml file, please check your xml file!").arg(tag);
}

QString ItemValue(const QString& path, const QString& tag)
{
    CXMLConfig config;
    QString error;
    QString value = QStringLiteral("(missing)");
    if (config.LoadFile(path, error))
        config.GetItemValue(tag, value, error);
    return value;
}

} // namespace

void UserConfigTest::init()
{
    m_messages.clear();
}

void UserConfigTest::cleanup()
{
    Platform::setProgramDirectory(QString());
}

void UserConfigTest::encodingMatchesTheStoredForm_data()
{
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QString>("encoded");
    QTest::newRow("empty text is one zero checksum byte") << QString() << "AA==";
    QTest::newRow("character equal to its key character") << "d" << "ZGQ=";
    QTest::newRow("string 1") << kSaved[0] << "IG8RGydvDQElKjZbJmE3LFUrAhIFGQthVSUqI0syKD4yNlZj";
    QTest::newRow("string 2") << kSaved[1]
                              << "JyQ2HQQBCSsSDBFbJmE3LFUsJmUmOCdPdzYjIyBXKjknBgZXQDs+MDNCJSIiWgsQHRMYDgEYSzUgOCY3EBg=";
    QTest::newRow("string 3") << kSaved[2] << "IG8RGzgWHxEWDFohIGYnSjJvGgs+BgETVRYbEUsgOyckUDFdGQEgLlgnJyU4cVsW";
}

void UserConfigTest::encodingMatchesTheStoredForm()
{
    QFETCH(QString, plain);
    QFETCH(QString, encoded);
    QCOMPARE(EncodeOptionText(plain), std::optional<QString>(encoded));
    QCOMPARE(DecodeOptionText(encoded), std::optional<QString>(plain));
}

void UserConfigTest::textsThatCannotBeEncoded_data()
{
    QTest::addColumn<QString>("plain");
    QTest::addColumn<bool>("encodable");
    QTest::newRow("longest") << QString(kMaximumOptionTextLength, QLatin1Char('x')) << true;
    QTest::newRow("non-ASCII") << QStringLiteral("下载.TRUE#é") << true;
    QTest::newRow("one too long") << QString(kMaximumOptionTextLength + 1, QLatin1Char('x')) << false;
    QTest::newRow("NUL character") << QStringLiteral("a%1b").arg(QChar(0)) << false;
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) << false;
}

void UserConfigTest::textsThatCannotBeEncoded()
{
    QFETCH(QString, plain);
    QFETCH(bool, encodable);
    const std::optional<QString> encoded = EncodeOptionText(plain);
    QCOMPARE(encoded.has_value(), encodable);
    if (encodable)
        QCOMPARE(DecodeOptionText(*encoded), std::optional<QString>(plain));
}

void UserConfigTest::storedFormsThatDoNotDecode_data()
{
    QTest::addColumn<QString>("encoded");
    QTest::newRow("the marker itself") << "SKIPTHISTIME";
    QTest::newRow("empty") << "";
    QTest::newRow("fill characters only") << "====";
    QTest::newRow("one character") << "A";
    QTest::newRow("leading line feed") << "\n" + Encoded(kSaved[0]);
    QTest::newRow("cut short") << Encoded(kSaved[0]).left(20);
    QTest::newRow("non-ASCII") << QStringLiteral("设置");
}

void UserConfigTest::storedFormsThatDoNotDecode()
{
    QFETCH(QString, encoded);
    QCOMPARE(DecodeOptionText(encoded), std::nullopt);
}

void UserConfigTest::decodingStopsAtTheEndOfTheAlphabet()
{
    const QString encoded = Encoded(kSaved[1]);
    QCOMPARE(DecodeOptionText(encoded + "garbage after the fill"), std::optional<QString>(kSaved[1]));
    QCOMPARE(DecodeOptionText(Encoded(kSaved[0]) + " tail"), std::optional<QString>(kSaved[0]));
    QCOMPARE(DecodeOptionText("AA"), std::optional<QString>(QString()));
}

void UserConfigTest::anyChangedFirstCharacterFailsTheChecksum()
{
    for (const QString& plain : kSaved)
        QCOMPARE(DecodeOptionText(Tampered(Encoded(plain))), std::nullopt);
}

void UserConfigTest::optionStringsRoundTrip_data()
{
    QTest::addColumn<DownloadOptions>("options");
    QTest::addColumn<QStringList>("strings");
    QTest::newRow("none") << Options({0, 0, 0, 0, 0, 0, 0, 0, 0})
                          << QStringList{"DownLoadVKB.FALSE#DownloadRES.FALSE#",
                                         "CKPhoneName.FALSE#CKeMMC.FALSE#CKFuse.FALSE#CKInstrument.FALSE#",
                                         "DownSystem.FALSE#DownUserdata.FALSE#DownLK.FALSE#"};
    QTest::newRow("all") << Options({1, 1, 1, 1, 1, 1, 1, 1, 1})
                         << QStringList{"DownLoadVKB.TRUE#DownloadRES.TRUE#",
                                        "CKPhoneName.TRUE#CKeMMC.TRUE#CKFuse.TRUE#CKInstrument.TRUE#",
                                        "DownSystem.TRUE#DownUserdata.TRUE#DownLK.TRUE#"};
    QTest::newRow("package, not the image") << Options({1, 0, 1, 0, 1, 0, 0, 1, 1}) << kSaved;
    QTest::newRow("LK only") << Options({0, 0, 0, 0, 0, 0, 1, 0, 0})
                             << QStringList{"DownLoadVKB.FALSE#DownloadRES.FALSE#",
                                            "CKPhoneName.FALSE#CKeMMC.FALSE#CKFuse.FALSE#CKInstrument.FALSE#",
                                            "DownSystem.FALSE#DownUserdata.FALSE#DownLK.TRUE#"};
}

void UserConfigTest::optionStringsRoundTrip()
{
    QFETCH(DownloadOptions, options);
    QFETCH(QStringList, strings);
    QCOMPARE(BuildOptionStrings(options), strings);
    QVERIFY(OptionsByKey(strings) == options);
    QVERIFY(OptionsByPosition(strings) == options);
}

void UserConfigTest::flagReadersByKeyAndByPosition_data()
{
    QTest::addColumn<QStringList>("strings");
    QTest::addColumn<DownloadOptions>("byKey");
    QTest::addColumn<DownloadOptions>("byPosition");
    const QStringList rest = {"CKPhoneName.FALSE#CKeMMC.FALSE#CKFuse.FALSE#CKInstrument.FALSE#",
                              "DownSystem.FALSE#DownUserdata.FALSE#DownLK.FALSE#"};
    const DownloadOptions resOnly = Options({0, 1, 0, 0, 0, 0, 0, 0, 0});
    QTest::newRow("RES only") << QStringList{"DownLoadVKB.FALSE#DownloadRES.TRUE#"} + rest << resOnly << resOnly;
    QTest::newRow("keys swapped") << QStringList{"DownloadRES.TRUE#DownLoadVKB.FALSE#"} + rest << resOnly
                                  << Options({1, 0, 0, 0, 0, 0, 0, 0, 0});
    QTest::newRow("key case differs") << QStringList{"DownLoadVKB.FALSE#downloadres.TRUE#"} + rest
                                      << Options({0, 0, 0, 0, 0, 0, 0, 0, 0}) << resOnly;
    QTest::newRow("last key takes the rest")
        << QStringList{"DownLoadVKB.FALSE#DownloadRES.FALSE#x#TRUE"} + rest << Options({0, 0, 0, 0, 0, 0, 0, 0, 0})
        << resOnly;
    QTest::newRow("missing pieces") << QStringList{"DownLoadVKB.TRUE", "", "DownLK.TRUE"}
                                    << Options({1, 0, 0, 0, 0, 0, 1, 0, 0}) << Options({1, 0, 0, 0, 0, 0, 0, 1, 0});
}

void UserConfigTest::flagReadersByKeyAndByPosition()
{
    QFETCH(QStringList, strings);
    QFETCH(DownloadOptions, byKey);
    QFETCH(DownloadOptions, byPosition);
    QVERIFY(OptionsByKey(strings) == byKey);
    QVERIFY(OptionsByPosition(strings) == byPosition);
    QCOMPARE(OptionsByKey(strings.mid(1)), std::nullopt);
    QCOMPARE(OptionsByPosition(strings + QStringList{"extra"}), std::nullopt);
}

void UserConfigTest::readSavedProfileOutcomes_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<ProfileRead>("outcome");
    QTest::addColumn<QString>("pageMessage");
    QTest::addColumn<QString>("frameMessage");
    const QString res = Encoded(kSaved[0]), check = Encoded(kSaved[1]), subarea = Encoded(kSaved[2]);
    QTest::newRow("saved profile") << ConfigFile(res, check, subarea) << true << ProfileRead::Applied << "" << "";
    QTest::newRow("marker") << ConfigFile("SKIPTHISTIME", check, subarea) << true << ProfileRead::NoSavedProfile << ""
                            << "";
    QTest::newRow("marker inside text") << ConfigFile("xxSKIPTHISTIMEyy", std::nullopt, std::nullopt) << true
                                        << ProfileRead::NoSavedProfile << "" << "";
    QTest::newRow("missing file") << QByteArray() << true << ProfileRead::LoadFailed
                                  << "Can't load the user configure xml!" << LoadMessage(configPath());
    QTest::newRow("malformed file") << ConfigFile(res, check, subarea).chopped(5) << true << ProfileRead::LoadFailed
                                    << "Can't load the user configure xml!" << LoadMessage(configPath());
    QTest::newRow("string 1 missing") << ConfigFile(std::nullopt, check, subarea) << true << ProfileRead::Step1Failed
                                      << "Decode usercfg.xml error!"
                                      << "MainFrame load usercfg.xml error 1:" + ItemMessage("DOWNLOAD_RES");
    QTest::newRow("string 1 changed") << ConfigFile(Tampered(res), check, subarea) << true << ProfileRead::Step1Failed
                                      << "Decode usercfg.xml error!" << "MainFrame load usercfg.xml error 1:";
    QTest::newRow("string 2 missing") << ConfigFile(res, std::nullopt, subarea) << true << ProfileRead::Step2Failed
                                      << "Load usercfg.xml error 2:" + ItemMessage("DOWNLOAD_CHECK")
                                      << "MainFrame load usercfg.xml error 2:" + ItemMessage("DOWNLOAD_CHECK");
    QTest::newRow("string 2 empty") << ConfigFile(res, "", subarea) << true << ProfileRead::Step2Failed
                                    << "Load usercfg.xml error 2:" << "MainFrame load usercfg.xml error 2:";
    QTest::newRow("string 3 missing") << ConfigFile(res, check, std::nullopt) << true << ProfileRead::Step3Failed
                                      << "Load usercfg.xml error 3!"
                                      << "MainFrame load usercfg.xml error 3:" + ItemMessage("DOWNLOAD_SUBAREA");
    QTest::newRow("string 3 changed") << ConfigFile(res, check, Tampered(subarea)) << true << ProfileRead::Step3Failed
                                      << "Load usercfg.xml error 3!" << "MainFrame load usercfg.xml error 3:";
    QTest::newRow("caller refuses") << ConfigFile(res, check, subarea) << false << ProfileRead::Step4Failed
                                    << "Load usercfg.xml error 4!" << "MainFrame load usercfg.xml error 4!";
}

void UserConfigTest::readSavedProfileOutcomes()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, accept);
    QFETCH(ProfileRead, outcome);
    QFETCH(QString, pageMessage);
    QFETCH(QString, frameMessage);
    QFile::remove(configPath());
    if (!file.isEmpty())
        WriteTestFile(configPath(), file);
    const std::array<std::pair<ProfileReader, QString>, 2> readers = {
        {{ProfileReader::ProfilePage, pageMessage}, {ProfileReader::MainFrame, frameMessage}}};
    for (const auto& [reader, message] : readers) {
        m_messages.clear();
        QList<QStringList> handed;
        const ProfileRead read = ReadSavedProfile(configPath(), reader, [&](const QStringList& strings) {
            handed.append(strings);
            return accept;
        });
        QCOMPARE(read, outcome);
        QCOMPARE(m_messages.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        const bool reachedApply = outcome == ProfileRead::Applied || outcome == ProfileRead::Step4Failed;
        QCOMPARE(handed, reachedApply ? QList<QStringList>{kSaved} : QList<QStringList>());
    }
    QCOMPARE(ReadTestFile(configPath()), file);
}

void UserConfigTest::savedProfileReadsBack()
{
    const QString shipped = QStringLiteral(ZARV_SOURCE_DIR "config/UserConfig/UserConfig.xml");
    WriteTestFile(configPath(), ReadTestFile(shipped));
    const DownloadOptions first = Options({1, 0, 1, 1, 0, 1, 0, 1, 0});
    const DownloadOptions second = Options({0, 1, 0, 0, 1, 0, 1, 0, 1});
    for (const DownloadOptions& options : {first, second}) {
        QVERIFY(SaveProfile(configPath(), options));
        std::optional<DownloadOptions> read;
        QCOMPARE(ReadSavedProfile(configPath(), ProfileReader::MainFrame,
                                  [&read](const QStringList& strings) { return bool(read = OptionsByKey(strings)); }),
                 ProfileRead::Applied);
        QVERIFY(read == options);
    }
    QVERIFY(m_messages.texts().isEmpty());
    const QByteArray saved = ReadTestFile(configPath());
    QCOMPARE(saved.count("<LASTSETTING"), 1);
    QCOMPARE(saved.count("<DOWNLOAD_RES>"), 1);
    QVERIFY(saved.contains("<CONFIG xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">"));
    QVERIFY(!saved.contains("SKIPTHISTIME"));
    QCOMPARE(ItemValue(configPath(), "LANG"), QString("1"));
    QCOMPARE(ItemValue(configPath(), "VKB_PATH"), QString());
}

void UserConfigTest::saveCreatesTheMissingProfile()
{
    WriteTestFile(configPath(),
                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                  "<CONFIG xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><LASTUSER>2</LASTUSER>"
                  "<LANG>0</LANG><VKB_PATH>/p.vkb</VKB_PATH><GPS_PATH/></CONFIG>");
    const DownloadOptions options = Options({1, 0, 1, 0, 1, 0, 0, 1, 1});
    QVERIFY(SaveProfile(configPath(), options));
    QVERIFY(m_messages.texts().isEmpty());
    for (int i = 0; i < 3; ++i) {
        const QString tag = QStringList{"DOWNLOAD_RES", "DOWNLOAD_CHECK", "DOWNLOAD_SUBAREA"}[i];
        QCOMPARE(DecodeOptionText(ItemValue(configPath(), tag)), std::optional<QString>(kSaved[i]));
    }
    const QByteArray saved = ReadTestFile(configPath());
    const qsizetype start = saved.indexOf("<LASTSETTING CFGVERSION=\"V1.0\">");
    const qsizetype end = saved.indexOf("</LASTSETTING>\n</CONFIG>");
    QVERIFY2(start > 0 && end > start, saved.constData());
    for (const char* child : {"<DOWNLOAD_RES>", "<DOWNLOAD_CHECK>", "<DOWNLOAD_SUBAREA>"})
        QVERIFY2(saved.indexOf(child) > start && saved.indexOf(child) < end, child);
    QCOMPARE(ItemValue(configPath(), "VKB_PATH"), QString("/p.vkb"));
}

void UserConfigTest::saveIntoAnUnloadableFileChangesNothing_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("missing") << QByteArray();
    QTest::newRow("truncated") << ConfigFile("SKIPTHISTIME", "", "").left(120);
    QTest::newRow("not XML") << QByteArray("LASTUSER=3\n");
}

void UserConfigTest::saveIntoAnUnloadableFileChangesNothing()
{
    QFETCH(QByteArray, file);
    QFile::remove(configPath());
    if (!file.isEmpty())
        WriteTestFile(configPath(), file);
    QVERIFY(!SaveProfile(configPath(), Options({1, 1, 1, 1, 1, 1, 1, 1, 1})));
    QCOMPARE(m_messages.texts(), QStringList{"loading usercfg.xml error!"});
    QCOMPARE(QFile::exists(configPath()), !file.isEmpty());
    QCOMPARE(ReadTestFile(configPath()), file);
}

void UserConfigTest::shippedFileStartsWithoutAProfile()
{
    const QString installed = QStringLiteral(ZARV_PROGRAM_DIR "UserConfig/UserConfig.xml");
    Platform::setProgramDirectory(QStringLiteral(ZARV_PROGRAM_DIR));
    QCOMPARE(UserConfigPath(), installed);
    for (const QString& tag : QStringList{"LASTUSER", "LANG", "VKB_PATH", "GPS_PATH"})
        QVERIFY2(ItemValue(installed, tag) != QLatin1String("(missing)"), qPrintable(tag));

    const QString shipped = QStringLiteral(ZARV_SOURCE_DIR "config/UserConfig/UserConfig.xml");
    bool applied = false;
    QCOMPARE(ReadSavedProfile(shipped, ProfileReader::ProfilePage, [&applied](const QStringList&) { return applied = true; }),
             ProfileRead::NoSavedProfile);
    QVERIFY(!applied);
    QVERIFY(m_messages.texts().isEmpty());
}

QTEST_GUILESS_MAIN(UserConfigTest)
#include "UserConfigTest.moc"
