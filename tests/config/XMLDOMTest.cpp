#include "ConfigTestFiles.h"
#include "config/XMLDOM.h"
#include "platform/ProgramDirectory.h"

#include <QDir>
#include <QTemporaryDir>
#include <QUrl>
#include <QTest>

class XMLDOMTest : public QObject {
    Q_OBJECT

private slots:
    void wellFormedTextLoads();
    void badSourcesFailAndLeaveAnEmptyDocument_data();
    void badSourcesFailAndLeaveAnEmptyDocument();
    void loadsFromFilePathAndFileUrl();
    void resourceUrlsReadTheResourceLibrary();
    void rootElementIsFoundLikeAnyOther();
    void elementTextIsTheTextOfAllDescendants();
    void setElementTextByPosition_data();
    void setElementTextByPosition();
    void attributeValuesReportTheLastElement();
    void setAttributeValueNeedsTheAttribute();
    void createdElementsAreValidatedAndHoldALineFeed_data();
    void createdElementsAreValidatedAndHoldALineFeed();
    void childTextByKeyWritesTheMatchingChild();
    void childTextByKeyCreatesTheMissingChild();
    void childTextByKeyFailures_data();
    void childTextByKeyFailures();
    void ensureChildByKeyAppendsOnce();
    void ensureChildByKeyLeavesOtherElementsAlone();
    void saveKeepsTheDeclaredEncoding_data();
    void saveKeepsTheDeclaredEncoding();
    void unrepresentableCharactersBecomeReferences();
    void saveFailuresLeaveTheFileAsItWas_data();
    void saveFailuresLeaveTheFileAsItWas();
    void deeplyNestedDocumentsDoNotExhaustTheStack();

private:
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

namespace {

const QString kConfig = QStringLiteral(
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<CONFIG xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n"
    "  <LASTUSER>3</LASTUSER>\n"
    "  <VKB_PATH>/data/a b/x.vkb</VKB_PATH>\n"
    "  <LASTSETTING CFGVERSION=\"V1.0\">\n"
    "    <DOWNLOAD_RES>SKIPTHISTIME</DOWNLOAD_RES>\n"
    "  </LASTSETTING>\n"
    "</CONFIG>\n");

QStringList Texts(const CXMLDOM& dom, const QString& tag)
{
    QStringList values;
    dom.GetElementTexts(tag, values);
    return values;
}

QStringList AttributeValues(const CXMLDOM& dom, const QString& tag, const QString& attribute)
{
    QStringList values;
    dom.GetAttributeValues(tag, attribute, values);
    return values;
}

// The document as a save writes it, to compare before and after an operation.
QByteArray Saved(const CXMLDOM& dom, const QString& path)
{
    if (dom.Save(path) != XML_OK)
        return QByteArray();
    return ReadTestFile(path);
}

} // namespace

void XMLDOMTest::wellFormedTextLoads()
{
    CXMLDOM dom;
    QCOMPARE(dom.Load(kConfig, 1), int(XML_OK));
    QCOMPARE(Texts(dom, "VKB_PATH"), QStringList{"/data/a b/x.vkb"});
    QCOMPARE(AttributeValues(dom, "CONFIG", "xmlns:xsi"), QStringList{"http://www.w3.org/2001/XMLSchema-instance"});
}

void XMLDOMTest::badSourcesFailAndLeaveAnEmptyDocument_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<int>("mode");
    QTest::newRow("empty text") << QString() << 1;
    QTest::newRow("truncated") << kConfig.left(kConfig.size() / 2) << 1;
    QTest::newRow("mismatched tags") << "<CONFIG><LASTUSER>1</LASTSETTING></CONFIG>" << 1;
    QTest::newRow("two roots") << "<CONFIG/><LASTUSER>1</LASTUSER>" << 1;
    QTest::newRow("text before the root") << "junk<CONFIG><LASTUSER>1</LASTUSER></CONFIG>" << 1;
    QTest::newRow("text after the root") << "<CONFIG><LASTUSER>1</LASTUSER></CONFIG>junk" << 1;
    QTest::newRow("declaration after the root") << "<CONFIG><LASTUSER>1</LASTUSER></CONFIG><?xml version='1.0'?>" << 1;
    QTest::newRow("unknown mode") << kConfig << 2;
    QTest::newRow("missing file") << path("missing.xml") << 0;
    QTest::newRow("a folder") << m_dir.path() << 0;
    QTest::newRow("a device") << "/dev/zero" << 0;
    QTest::newRow("truncated file") << WriteTestFile(path("cut.xml"), kConfig.toUtf8().left(100)) << 0;
    QTest::newRow("empty file") << WriteTestFile(path("empty.xml"), QByteArray()) << 0;
    QTest::newRow("binary file") << WriteTestFile(path("binary.xml"), QByteArray("\x00\xFF\xFE<\x01", 5)) << 0;
    QTest::newRow("unknown declared encoding")
        << WriteTestFile(path("unknown.xml"), "<?xml version=\"1.0\" encoding=\"NO-SUCH-CODE\"?><CONFIG><LASTUSER>1</LASTUSER></CONFIG>")
        << 0;
    QTest::newRow("network url") << "http://localhost/UserConfig.xml" << 0;
}

void XMLDOMTest::badSourcesFailAndLeaveAnEmptyDocument()
{
    QFETCH(QString, source);
    QFETCH(int, mode);
    CXMLDOM dom;
    QCOMPARE(dom.Load(kConfig, 1), int(XML_OK));
    QVERIFY(dom.Load(source, mode) != XML_OK);
    QStringList values;
    QCOMPARE(dom.GetElementTexts("LASTUSER", values), int(XML_FALSE));
    QVERIFY(values.isEmpty());
    QCOMPARE(dom.SetElementText("LASTUSER", 0, "2"), int(XML_FALSE));
}

void XMLDOMTest::loadsFromFilePathAndFileUrl()
{
    const QString file = WriteTestFile(path("config.xml"), kConfig.toUtf8());
    for (const QString& source : {file, QUrl::fromLocalFile(file).toString()}) {
        CXMLDOM dom;
        QCOMPARE(dom.Load(source, 0), int(XML_OK));
        QCOMPARE(Texts(dom, "LASTUSER"), QStringList{"3"});
    }
}

void XMLDOMTest::resourceUrlsReadTheResourceLibrary()
{
    CXMLDOM dom;
    Platform::setProgramDirectory(QStringLiteral(ZARV_PROGRAM_DIR));
    QCOMPARE(dom.Load("res://Sorrel.dll//ZARV_CONFIG.xml", 0), int(XML_OK));
    QCOMPARE(Texts(dom, "ZARV_VERSION").size(), 1);
    QCOMPARE(dom.Load("res://Sorrel.dll//DEVICE_CONFIG.xml", 0), int(XML_OK));
    QVERIFY(!Texts(dom, "CONFIG_VERSION").isEmpty());
    QVERIFY(dom.Load("res://Sorrel.dll//NO_SUCH.xml", 0) != XML_OK);
    QVERIFY(dom.Load("res://Sorrel.dll", 0) != XML_OK);

    QTemporaryDir emptyProgramDirectory;
    Platform::setProgramDirectory(emptyProgramDirectory.path());
    QVERIFY(dom.Load("res://Sorrel.dll//ZARV_CONFIG.xml", 0) != XML_OK);
    QVERIFY(Texts(dom, "ZARV_VERSION").isEmpty());
    Platform::setProgramDirectory(QString());
}

void XMLDOMTest::rootElementIsFoundLikeAnyOther()
{
    CXMLDOM dom;
    QCOMPARE(dom.Load("<A><B><A>inner</A></B></A>", 1), int(XML_OK));
    QList<pugi::xml_node> elements;
    QCOMPARE(dom.GetElements("A", elements), int(XML_OK));
    QCOMPARE(elements.size(), 2);
    QCOMPARE(QString(elements[0].name()), QString("A"));
    QCOMPARE(elements[0].parent().type(), pugi::node_document);
    QCOMPARE(dom.GetElements("a", elements), int(XML_FALSE));
    QVERIFY(elements.isEmpty());
}

void XMLDOMTest::elementTextIsTheTextOfAllDescendants()
{
    CXMLDOM dom;
    QCOMPARE(dom.Load("<R><P>one<C>two<!-- no --></C><![CDATA[<three>]]></P><P/></R>", 1), int(XML_OK));
    QCOMPARE(Texts(dom, "P"), (QStringList{"onetwo<three>", ""}));
}

void XMLDOMTest::setElementTextByPosition_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("first") << "V" << 0 << int(XML_OK) << QStringList{"new", "b"};
    QTest::newRow("second") << "V" << 1 << int(XML_OK) << QStringList{"a<x>a</x>", "new"};
    QTest::newRow("past the last") << "V" << 2 << int(XML_FALSE) << QStringList{"a<x>a</x>", "b"};
    QTest::newRow("negative") << "V" << -1 << int(XML_FALSE) << QStringList{"a<x>a</x>", "b"};
    QTest::newRow("absent tag") << "W" << 0 << int(XML_FALSE) << QStringList{"a<x>a</x>", "b"};
}

void XMLDOMTest::setElementTextByPosition()
{
    QFETCH(QString, tag);
    QFETCH(int, position);
    QFETCH(int, status);
    QFETCH(QStringList, texts);
    CXMLDOM dom;
    QCOMPARE(dom.Load("<R><V>a&lt;x&gt;<I>a</I>&lt;/x&gt;</V><V>b</V></R>", 1), int(XML_OK));
    const QByteArray before = Saved(dom, path("before.xml"));
    QCOMPARE(dom.SetElementText(tag, position, "new"), status);
    QCOMPARE(Texts(dom, "V"), texts);
    QCOMPARE(Texts(dom, "I").isEmpty(), status == XML_OK && position == 0);
    if (status != XML_OK)
        QCOMPARE(Saved(dom, path("after.xml")), before);
}

void XMLDOMTest::attributeValuesReportTheLastElement()
{
    CXMLDOM dom;
    QCOMPARE(dom.Load("<R><E k='a'/><E k='b'/><E/></R>", 1), int(XML_OK));
    QStringList values;
    QVERIFY(dom.GetAttributeValues("E", "k", values) != XML_OK);
    QCOMPARE(values, (QStringList{"a", "b"}));
    QCOMPARE(dom.FindElementIndex("E", "k", "a"), -1);

    QCOMPARE(dom.Load("<R><E/><E k='a'/><E k='b'/><E k='a'/></R>", 1), int(XML_OK));
    QCOMPARE(dom.GetAttributeValues("E", "k", values), int(XML_OK));
    QCOMPARE(values, (QStringList{"a", "b", "a"}));
    QCOMPARE(dom.FindElementIndex("E", "k", "b"), 1);
    QCOMPARE(dom.FindElementIndex("E", "k", "a"), 0);
    QCOMPARE(dom.FindElementIndex("E", "k", "A"), -1);
    QCOMPARE(dom.GetAttributeValues("F", "k", values), int(XML_FALSE));
    QVERIFY(values.isEmpty());
}

void XMLDOMTest::setAttributeValueNeedsTheAttribute()
{
    CXMLDOM dom;
    QCOMPARE(dom.Load("<R><E/><E k='a'/></R>", 1), int(XML_OK));
    const QByteArray before = Saved(dom, path("before.xml"));
    QVERIFY(dom.SetAttributeValue("E", "k", 0, "x") != XML_OK);
    QCOMPARE(dom.SetAttributeValue("E", "k", 2, "x"), int(XML_FALSE));
    QCOMPARE(dom.SetAttributeValue("F", "k", 0, "x"), int(XML_FALSE));
    QCOMPARE(Saved(dom, path("after.xml")), before);
    QCOMPARE(dom.SetAttributeValue("E", "k", 1, "x"), int(XML_OK));
    QCOMPARE(AttributeValues(dom, "E", "k"), QStringList{"x"});
}

void XMLDOMTest::createdElementsAreValidatedAndHoldALineFeed_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("valid");
    QTest::newRow("plain") << "DOWNLOAD_RES" << true;
    QTest::newRow("prefixed") << "xsi:type" << true;
    QTest::newRow("non-ASCII") << QStringLiteral("设置") << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("leading digit") << "1ST" << false;
    QTest::newRow("space") << "A B" << false;
    QTest::newRow("markup") << "A><B" << false;
    QTest::newRow("quote") << "A\"" << false;
}

void XMLDOMTest::createdElementsAreValidatedAndHoldALineFeed()
{
    QFETCH(QString, name);
    QFETCH(bool, valid);
    CXMLDOM dom;
    QCOMPARE(dom.Load("<R/>", 1), int(XML_OK));
    pugi::xml_node element;
    const int created = dom.CreateElement(name, element);
    QCOMPARE(created == XML_OK, valid);
    if (valid) {
        QCOMPARE(QString::fromUtf8(element.name()), name);
        QCOMPARE(QString::fromUtf8(element.text().get()), QString("\n"));
        QVERIFY(Texts(dom, name).isEmpty()); // not yet part of the document
    }
    QList<pugi::xml_node> roots;
    dom.GetElements("R", roots);
    QCOMPARE(dom.AppendChildText(roots.first(), name, "v") == XML_OK, valid);
    QCOMPARE(dom.AppendChildWithAttribute(roots.first(), "C", name, "v") == XML_OK, valid);
    QCOMPARE(dom.AddAttribute(roots.first(), name, "v") == XML_OK, valid);
    // Whatever was accepted, the saved file loads again.
    CXMLDOM reloaded;
    QCOMPARE(reloaded.Load(path("saved.xml"), 0) == XML_OK, dom.Save(path("saved.xml")) == XML_OK);
    QCOMPARE(Texts(reloaded, "C").size(), valid ? 1 : 0);
    QCOMPARE(dom.AddAttribute(pugi::xml_node(), "k", "v"), int(XML_E_NO_ELEMENT));
    QCOMPARE(dom.AppendChildText(pugi::xml_node(), "C", "v"), int(XML_FALSE));
}

void XMLDOMTest::childTextByKeyWritesTheMatchingChild()
{
    CXMLDOM dom;
    QCOMPARE(dom.Load("<R><P k='a'><D>1</D></P><P k='b'><D>2</D></P></R>", 1), int(XML_OK));
    QCOMPARE(dom.SetChildTextByKey(false, "P", "k", "b", "D", "two"), int(XML_OK));
    QCOMPARE(Texts(dom, "D"), (QStringList{"1", "two"}));
    QCOMPARE(dom.SetChildTextByKey(false, "P", "", "", "D", "one"), int(XML_OK));
    QCOMPARE(Texts(dom, "D"), (QStringList{"one", "two"}));
}

void XMLDOMTest::childTextByKeyCreatesTheMissingChild()
{
    CXMLDOM dom;
    QCOMPARE(dom.Load("<R><P k='a'><X/></P><P k='b'/></R>", 1), int(XML_OK));
    QCOMPARE(dom.SetChildTextByKey(true, "P", "k", "a", "D", "new"), int(XML_OK));
    QCOMPARE(Texts(dom, "D"), QStringList{"new"});
    QList<pugi::xml_node> parents;
    dom.GetElements("P", parents);
    QCOMPARE(QString(parents[0].last_child().name()), QString("D"));
    QVERIFY(!parents[1].first_child());
}

void XMLDOMTest::childTextByKeyFailures_data()
{
    QTest::addColumn<bool>("create");
    QTest::addColumn<QString>("parentTag");
    QTest::addColumn<QString>("keyValue");
    QTest::addColumn<QString>("childTag");
    QTest::newRow("no such parent") << true << "Q" << "a" << "D";
    QTest::newRow("no such key value") << true << "P" << "c" << "D";
    QTest::newRow("missing child, no create") << false << "P" << "a" << "E";
    QTest::newRow("child name XML refuses") << true << "P" << "a" << "1E";
}

void XMLDOMTest::childTextByKeyFailures()
{
    QFETCH(bool, create);
    QFETCH(QString, parentTag);
    QFETCH(QString, keyValue);
    QFETCH(QString, childTag);
    CXMLDOM dom;
    QCOMPARE(dom.Load("<R><P k='a'><D>1</D></P><P k='b'/></R>", 1), int(XML_OK));
    const QByteArray before = Saved(dom, path("before.xml"));
    QVERIFY(dom.SetChildTextByKey(create, parentTag, "k", keyValue, childTag, "x") != XML_OK);
    QCOMPARE(Saved(dom, path("after.xml")), before);
}

void XMLDOMTest::ensureChildByKeyAppendsOnce()
{
    CXMLDOM dom;
    QCOMPARE(dom.Load("<CONFIG xmlns:xsi='ns'><LASTUSER>1</LASTUSER></CONFIG>", 1), int(XML_OK));
    QCOMPARE(dom.EnsureChildByKey(false, "CONFIG", "xmlns:xsi", "ns", "LASTSETTING", "CFGVERSION", "V1.0"), int(XML_OK));
    const QByteArray once = Saved(dom, path("once.xml"));
    QCOMPARE(dom.EnsureChildByKey(true, "CONFIG", "xmlns:xsi", "ns", "LASTSETTING", "CFGVERSION", "V1.0"), int(XML_OK));
    QCOMPARE(Saved(dom, path("twice.xml")), once);
    QVERIFY2(once.contains("<LASTSETTING CFGVERSION=\"V1.0\">\n</LASTSETTING>"), once.constData());
    QCOMPARE(AttributeValues(dom, "LASTSETTING", "CFGVERSION"), QStringList{"V1.0"});
    QVERIFY(dom.EnsureChildByKey(true, "CONFIG", "xmlns:xsi", "other", "LASTSETTING", "CFGVERSION", "V2.0") != XML_OK);
    QVERIFY(dom.EnsureChildByKey(true, "NONE", "", "", "LASTSETTING", "CFGVERSION", "V2.0") != XML_OK);
    QCOMPARE(Saved(dom, path("thrice.xml")), once);
}

// Positions among the elements that carry a key are not positions among all the
// elements of the tag: the found element itself is the one meant.
void XMLDOMTest::ensureChildByKeyLeavesOtherElementsAlone()
{
    CXMLDOM dom;
    QCOMPARE(dom.Load("<R><P/><P k='b'/><D/><D e='x'/><D e='y'/></R>", 1), int(XML_OK));
    QCOMPARE(dom.EnsureChildByKey(true, "R", "", "", "D", "e", "y"), int(XML_OK));
    QCOMPARE(AttributeValues(dom, "D", "e"), (QStringList{"x", "y"}));
    QCOMPARE(dom.EnsureChildByKey(true, "P", "k", "b", "D", "e", "z"), int(XML_OK));
    QList<pugi::xml_node> parents;
    dom.GetElements("P", parents);
    QVERIFY(!parents[0].first_child());
    QCOMPARE(QString(parents[1].first_child().attribute("e").value()), QString("z"));
    QCOMPARE(dom.SetChildTextByKey(true, "P", "k", "b", "C", "text"), int(XML_OK));
    QCOMPARE(QString(parents[1].last_child().name()), QString("C"));
}

void XMLDOMTest::saveKeepsTheDeclaredEncoding_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("savedStart");
    QTest::addColumn<QString>("text");
    const QString text = QStringLiteral("/数据/é.vkb");
    const auto declared = [](const char* encoding, const QByteArray& value) {
        return QByteArray("<?xml version=\"1.0\" encoding=\"") + encoding + "\"?>\n<CONFIG xmlns:xsi=\"ns\"><VKB_PATH>" + value
            + "</VKB_PATH></CONFIG>\n";
    };
    const QByteArray utf8 = declared("UTF-8", text.toUtf8());
    QTest::newRow("UTF-8") << utf8 << utf8.left(38) << text;
    QTest::newRow("UTF-8 with byte-order mark") << "\xEF\xBB\xBF" + utf8 << "\xEF\xBB\xBF" + utf8.left(38) << text;
    QTest::newRow("no declaration") << text.toUtf8().prepend("<CONFIG><VKB_PATH>").append("</VKB_PATH></CONFIG>")
                                    << QByteArray("<CONFIG>") << text;
    const QString utf16Text = QString::fromUtf8(declared("UTF-16", text.toUtf8()));
    const QByteArray utf16 = QByteArray("\xFF\xFE") + QByteArray(reinterpret_cast<const char*>(utf16Text.utf16()), utf16Text.size() * 2);
    QTest::newRow("UTF-16 little-endian") << utf16 << utf16.left(12) << text;
    const QByteArray gb2312 = declared("GB2312", QByteArray("/\xCA\xFD\xBE\xDD/a.vkb"));
    QTest::newRow("GB2312") << gb2312 << gb2312.left(40) << QStringLiteral("/数据/a.vkb");
    const QByteArray latin1 = declared("ISO-8859-1", QByteArray("/caf\xE9.vkb"));
    QTest::newRow("ISO-8859-1") << latin1 << latin1.left(44) << QStringLiteral("/café.vkb");
}

void XMLDOMTest::saveKeepsTheDeclaredEncoding()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, savedStart);
    QFETCH(QString, text);
    const QString file = WriteTestFile(path("encoded.xml"), bytes);
    CXMLDOM dom;
    QCOMPARE(dom.Load(file, 0), int(XML_OK));
    QCOMPARE(Texts(dom, "VKB_PATH"), QStringList{text});
    QCOMPARE(dom.SetElementText("VKB_PATH", 0, text + "2"), int(XML_OK));
    QCOMPARE(dom.Save(file), int(XML_OK));
    const QByteArray saved = ReadTestFile(file);
    QVERIFY2(saved.startsWith(savedStart), saved.constData());

    CXMLDOM reloaded;
    QCOMPARE(reloaded.Load(file, 0), int(XML_OK));
    QCOMPARE(Texts(reloaded, "VKB_PATH"), QStringList{text + "2"});
    QCOMPARE(AttributeValues(reloaded, "CONFIG", "xmlns:xsi"), AttributeValues(dom, "CONFIG", "xmlns:xsi"));
}

void XMLDOMTest::unrepresentableCharactersBecomeReferences()
{
    const QString file = WriteTestFile(path("latin1.xml"), "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><R><V/></R>");
    CXMLDOM dom;
    QCOMPARE(dom.Load(file, 0), int(XML_OK));
    const QString value = QStringLiteral("caf\u00E9 \u6570 \U0001F600");
    QCOMPARE(dom.SetElementText("V", 0, value), int(XML_OK));
    QCOMPARE(dom.Save(file), int(XML_OK));
    const QByteArray saved = ReadTestFile(file);
    QVERIFY2(saved.contains("caf\xE9 &#x6570; &#x1F600;"), saved.constData());
    CXMLDOM reloaded;
    QCOMPARE(reloaded.Load(file, 0), int(XML_OK));
    QCOMPARE(Texts(reloaded, "V"), QStringList{value});
}

void XMLDOMTest::saveFailuresLeaveTheFileAsItWas_data()
{
    QTest::addColumn<QString>("document");
    QTest::addColumn<QString>("target");
    QTest::newRow("empty document") << QString() << path("config.xml");
    QTest::newRow("malformed document") << "<CONFIG>" << path("config.xml");
    QTest::newRow("missing folder") << "<CONFIG/>" << path("missing/config.xml");
    QTest::newRow("a folder") << "<CONFIG/>" << m_dir.path();
    QTest::newRow("resource url") << "<CONFIG/>" << "res://Sorrel.dll//ZARV_CONFIG.xml";
    QTest::newRow("unknown code page") << "<?xml version='1.0' encoding='NO-SUCH-CODE'?><CONFIG/>" << path("config.xml");
    QTest::newRow("name the code page cannot hold")
        << QStringLiteral("<?xml version='1.0' encoding='GB2312'?><CONFIG a\u0E01='1'/>") << path("config.xml");
}

void XMLDOMTest::saveFailuresLeaveTheFileAsItWas()
{
    QFETCH(QString, document);
    QFETCH(QString, target);
    const QByteArray original = kConfig.toUtf8();
    WriteTestFile(path("config.xml"), original);
    const QStringList files = QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden);
    CXMLDOM dom;
    dom.Load(document, 1);
    QVERIFY(dom.Save(target) < 0);
    QCOMPARE(ReadTestFile(path("config.xml")), original);
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), files);
}

void XMLDOMTest::deeplyNestedDocumentsDoNotExhaustTheStack()
{
    const int depth = 100000;
    QString text;
    text.reserve(depth * 8);
    for (int i = 0; i < depth; ++i)
        text += QLatin1String("<N>");
    text += QLatin1String("<V>deep</V>");
    for (int i = 0; i < depth; ++i)
        text += QLatin1String("</N>");
    CXMLDOM dom;
    QCOMPARE(dom.Load(text, 1), int(XML_OK));
    QCOMPARE(Texts(dom, "V"), QStringList{"deep"});
    QCOMPARE(dom.Save(path("deep.xml")), int(XML_OK));
    QCOMPARE(dom.Load(path("deep.xml"), 0), int(XML_OK));
    QCOMPARE(Texts(dom, "V"), QStringList{"deep"});
}

QTEST_GUILESS_MAIN(XMLDOMTest)
#include "XMLDOMTest.moc"
