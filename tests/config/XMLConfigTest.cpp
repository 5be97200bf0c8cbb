#include "ConfigTestFiles.h"
#include "config/XMLConfig.h"
#include "platform/ProgramDirectory.h"

#include <QTemporaryDir>
#include <QTest>

class XMLConfigTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void failedLoadGivesTheThreeLineMessage_data();
    void failedLoadGivesTheThreeLineMessage();
    void itemValueIsTheFirstOccurrence();
    void failedReadLeavesValueAlone();
    void writesReachTheFileOnlyThroughSave();
    void failedWritesNameTheirItem_data();
    void failedWritesNameTheirItem();
    void profileElementsAreCreatedAndSaved();
    void closedAccessorLoadsAgain();

private:
    QString configPath() const { return m_dir.filePath("UserConfig.xml"); }
    QTemporaryDir m_dir;
};

namespace {

const QByteArray kConfig =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<CONFIG xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n"
    "\t<LASTUSER>3</LASTUSER>\n"
    "\t<LANG>1</LANG>\n"
    "\t<VKB_PATH></VKB_PATH>\n"
    "\t<GPS_PATH>/first.img</GPS_PATH>\n"
    "\t<GPS_PATH>/second.img</GPS_PATH>\n"
    "\t<GPS_PATH>/third.img</GPS_PATH>\n"
    "</CONFIG>\n";

const QString kLoadMessage = QStringLiteral(
    "Could not load: %1\n"
    "1.Please make sure your xml file path and its format is correct.\n"
    "2.Moreover, please make sure your Windows system have installed MSXML.msi also.\n");

QString ItemMessage(const QString& tag)
{
    return QStringLiteral("Could not find: %1 item in xml file, please check your xml file!").arg(tag);
}

} // namespace

void XMLConfigTest::init()
{
    WriteTestFile(configPath(), kConfig);
}

void XMLConfigTest::failedLoadGivesTheThreeLineMessage_data()
{
    QTest::addColumn<QString>("source");
    QTest::newRow("missing file") << m_dir.filePath("missing/UserConfig.xml");
    QTest::newRow("malformed file") << WriteTestFile(m_dir.filePath("bad.xml"), kConfig.left(kConfig.size() - 4));
    QTest::newRow("resource library absent") << "res://Sorrel.dll//ZARV_CONFIG.xml";
    QTest::newRow("name holding %s and %1") << m_dir.filePath("%s %1.xml");
}

void XMLConfigTest::failedLoadGivesTheThreeLineMessage()
{
    QFETCH(QString, source);
    QTemporaryDir emptyProgramDirectory;
    Platform::setProgramDirectory(emptyProgramDirectory.path());
    CXMLConfig config;
    QString error;
    QVERIFY(!config.LoadFile(source, error));
    QCOMPARE(error, kLoadMessage.arg(source));
    QString value = QStringLiteral("kept");
    QVERIFY(!config.GetItemValue("LASTUSER", value, error));
    QCOMPARE(error, ItemMessage("LASTUSER"));
    QCOMPARE(value, QString("kept"));
    QVERIFY(!config.SaveFile());
    Platform::setProgramDirectory(QString());
}

void XMLConfigTest::itemValueIsTheFirstOccurrence()
{
    CXMLConfig config;
    QString error = QStringLiteral("untouched");
    QVERIFY(config.LoadFile(configPath(), error));
    QString value;
    QVERIFY(config.GetItemValue("GPS_PATH", value, error));
    QCOMPARE(value, QString("/first.img"));
    value = QStringLiteral("previous");
    QVERIFY(config.GetItemValue("VKB_PATH", value, error));
    QCOMPARE(value, QString());
    QCOMPARE(error, QString("untouched"));
}

void XMLConfigTest::failedReadLeavesValueAlone()
{
    CXMLConfig config;
    QString error;
    QVERIFY(config.LoadFile(configPath(), error));
    QString value = QStringLiteral("previous");
    QVERIFY(!config.GetItemValue("ZARV_VERSION", value, error));
    QCOMPARE(value, QString("previous"));
    QCOMPARE(error, ItemMessage("ZARV_VERSION"));
    QVERIFY(!config.GetItemValue("lang", value, error));
}

void XMLConfigTest::writesReachTheFileOnlyThroughSave()
{
    QString error;
    {
        CXMLConfig config;
        QVERIFY(config.LoadFile(configPath(), error));
        QVERIFY(config.SetItemValue("VKB_PATH", "/unsaved.vkb", error));
        config.CloseFile();
    }
    QCOMPARE(ReadTestFile(configPath()), kConfig);
    CXMLConfig config;
    QVERIFY(config.LoadFile(configPath(), error));
    QVERIFY(config.SetItemValue("VKB_PATH", "/packages/新 1.vkb", error));
    QVERIFY(config.SaveFile());
    config.CloseFile();
    QVERIFY(config.LoadFile(configPath(), error));
    QString value;
    QVERIFY(config.GetItemValue("VKB_PATH", value, error));
    QCOMPARE(value, QString("/packages/新 1.vkb"));
    QVERIFY(config.GetItemValue("LANG", value, error));
    QCOMPARE(value, QString("1"));
}

void XMLConfigTest::failedWritesNameTheirItem_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("message");
    QTest::newRow("item") << "SetItemValue" << ItemMessage("DOWNLOAD_RES");
    QTest::newRow("child item value") << "SetChildItemValue" << ItemMessage("LASTSETTING");
    QTest::newRow("child item attribute")
        << "SetChildItemAttribute" << QStringLiteral("Could not find: DOWNLOAD_RES item in xml file, set attribute failed!");
}

void XMLConfigTest::failedWritesNameTheirItem()
{
    QFETCH(QString, operation);
    QFETCH(QString, message);
    const QString untouched = WriteTestFile(m_dir.filePath("untouched.xml"), kConfig);
    CXMLConfig config;
    QString error;
    QVERIFY(config.LoadFile(untouched, error));
    QVERIFY(config.SaveFile());
    QVERIFY(config.LoadFile(configPath(), error));
    bool written = true;
    if (operation == QLatin1String("SetItemValue"))
        written = config.SetItemValue("DOWNLOAD_RES", "x", error);
    else if (operation == QLatin1String("SetChildItemValue"))
        written = config.SetChildItemValue(true, "LASTSETTING", "CFGVERSION", "V1.0", "DOWNLOAD_RES", "x", error);
    else
        written = config.SetChildItemAttribute(true, "LASTSETTING", "", "", "DOWNLOAD_RES", "KIND", "x", error);
    QVERIFY(!written);
    QCOMPARE(error, message);
    QVERIFY(config.SaveFile());
    QCOMPARE(ReadTestFile(configPath()), ReadTestFile(untouched));
}

void XMLConfigTest::profileElementsAreCreatedAndSaved()
{
    CXMLConfig config;
    QString error;
    QVERIFY(config.LoadFile(configPath(), error));
    QVERIFY(config.SetChildItemAttribute(true, "CONFIG", "xmlns:xsi", "http://www.w3.org/2001/XMLSchema-instance",
                                         "LASTSETTING", "CFGVERSION", "V1.0", error));
    QVERIFY(config.SetChildItemValue(true, "LASTSETTING", "CFGVERSION", "V1.0", "DOWNLOAD_RES", "ABC=", error));
    QVERIFY(!config.SetChildItemValue(false, "LASTSETTING", "CFGVERSION", "V1.0", "DOWNLOAD_CHECK", "DEF=", error));
    QVERIFY(config.SaveFile());
    config.CloseFile();

    const QByteArray saved = ReadTestFile(configPath());
    QVERIFY2(saved.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                              "<CONFIG xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">"),
             saved.constData());
    QVERIFY2(saved.contains("<LASTSETTING CFGVERSION=\"V1.0\">"), saved.constData());
    QVERIFY(config.LoadFile(configPath(), error));
    QString value;
    QVERIFY(config.GetItemValue("DOWNLOAD_RES", value, error));
    QCOMPARE(value, QString("ABC="));
    QVERIFY(!config.GetItemValue("DOWNLOAD_CHECK", value, error));
}

void XMLConfigTest::closedAccessorLoadsAgain()
{
    CXMLConfig config;
    QString error;
    QVERIFY(!config.LoadFile(m_dir.filePath("missing.xml"), error));
    config.CloseFile();
    QVERIFY(config.LoadFile(configPath(), error));
    QString value;
    QVERIFY(config.GetItemValue("LASTUSER", value, error));
    QCOMPARE(value, QString("3"));
    QVERIFY(config.SetItemValue("LASTUSER", "2", error));
    QVERIFY(config.SaveFile());
    config.CloseFile();
    QVERIFY(!config.GetItemValue("LASTUSER", value, error));
    QVERIFY(!config.SaveFile());
    QVERIFY(ReadTestFile(configPath()).contains("<LASTUSER>2</LASTUSER>"));
}

QTEST_GUILESS_MAIN(XMLConfigTest)
#include "XMLConfigTest.moc"
