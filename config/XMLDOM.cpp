#include "config/XMLDOM.h"

#include "config/ResProtocol.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QUrl>

#include <algorithm>
#include <optional>

namespace {

QByteArray Utf8(const QString& text) { return text.toUtf8(); }
QString FromUtf8(const char* text) { return QString::fromUtf8(text); }

// Collects, in document order, the elements of the whole document with one tag name.
class TagCollector : public pugi::xml_tree_walker {
public:
    explicit TagCollector(const QString& tag) : m_tag(Utf8(tag)) {}
    bool for_each(pugi::xml_node& node) override
    {
        if (node.type() == pugi::node_element && m_tag == node.name())
            elements.append(node);
        return true;
    }
    QList<pugi::xml_node> elements;

private:
    QByteArray m_tag;
};

// The text of every text and character-data node below an element, in document order.
class TextCollector : public pugi::xml_tree_walker {
public:
    bool for_each(pugi::xml_node& node) override
    {
        if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata)
            text.append(node.value());
        return true;
    }
    QByteArray text;
};

QList<pugi::xml_node> ElementsNamed(const pugi::xml_document& document, const QString& tag)
{
    TagCollector collector(tag);
    pugi::xml_node root = document;
    root.traverse(collector);
    return collector.elements;
}

QString TextContent(pugi::xml_node element)
{
    TextCollector collector;
    element.traverse(collector);
    return QString::fromUtf8(collector.text);
}

// Writing an element's value replaces all its children by one text node.
void SetTextContent(pugi::xml_node element, const QString& value)
{
    while (element.first_child())
        element.remove_child(element.first_child());
    element.append_child(pugi::node_pcdata).set_value(Utf8(value).constData());
}

bool IsNameStartChar(char32_t c)
{
    return c == ':' || c == '_' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= 0xC0 && c <= 0xD6)
        || (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x2FF) || (c >= 0x370 && c <= 0x37D)
        || (c >= 0x37F && c <= 0x1FFF) || (c >= 0x200C && c <= 0x200D) || (c >= 0x2070 && c <= 0x218F)
        || (c >= 0x2C00 && c <= 0x2FEF) || (c >= 0x3001 && c <= 0xD7FF) || (c >= 0xF900 && c <= 0xFDCF)
        || (c >= 0xFDF0 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0xEFFFF);
}

bool IsNameChar(char32_t c)
{
    return IsNameStartChar(c) || c == '-' || c == '.' || (c >= '0' && c <= '9') || c == 0xB7
        || (c >= 0x300 && c <= 0x36F) || (c >= 0x203F && c <= 0x2040);
}

// A name the saved file can carry and a later load accept.
bool IsXMLName(const QString& name)
{
    const QList<uint> codePoints = name.toUcs4();
    if (codePoints.isEmpty() || !IsNameStartChar(codePoints.first()))
        return false;
    return std::all_of(codePoints.begin(), codePoints.end(), [](uint c) { return IsNameChar(c); });
}

// The local path a file path or file: URL names; nothing for res: and other URLs.
std::optional<QString> LocalPath(const QString& source)
{
    static const QRegularExpression urlScheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+://"));
    if (!urlScheme.match(source).hasMatch())
        return source;
    const QUrl url(source);
    if (!url.isLocalFile())
        return std::nullopt;
    return url.toLocalFile();
}

std::optional<QByteArray> ReadRegularFile(const QString& path)
{
    // A folder, a device or a pipe is no document, and reading one could block.
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

std::optional<QByteArray> ReadSource(const QString& source)
{
    if (CResProtocol::isResUrl(source))
        return CResProtocol::read(source).value;
    const std::optional<QString> path = LocalPath(source);
    return path ? ReadRegularFile(*path) : std::nullopt;
}

} // namespace

int CXMLDOM::Load(const QString& source, int mode)
{
    ReleaseDocument();
    std::optional<XMLEncoding> encoding;
    if (mode == 1) {
        encoding = ParseXMLText(m_document, source);
    } else if (mode == 0) {
        if (const std::optional<QByteArray> bytes = ReadSource(source))
            encoding = ParseXMLBytes(m_document, *bytes);
    }
    if (!encoding)
        return XML_FALSE;
    m_encoding = *encoding;
    return XML_OK;
}

int CXMLDOM::Save(const QString& path) const
{
    // An empty document never replaces a file: that file is what failed to load.
    if (!m_document.document_element())
        return XML_E_NO_DOCUMENT;
    const std::optional<QString> localPath = CResProtocol::isResUrl(path) ? std::nullopt : LocalPath(path);
    const std::optional<QByteArray> bytes = RenderXML(m_document, m_encoding);
    if (!localPath || !bytes)
        return XML_E_WRITE;
    QSaveFile file(*localPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(*bytes) != bytes->size() || !file.commit())
        return XML_E_WRITE;
    return XML_OK;
}

void CXMLDOM::ReleaseDocument()
{
    m_document.reset();
    m_detached.reset();
    m_encoding = XMLEncoding();
}

int CXMLDOM::GetElements(const QString& tag, QList<pugi::xml_node>& elements) const
{
    elements = ElementsNamed(m_document, tag);
    return elements.isEmpty() ? XML_FALSE : XML_OK;
}

int CXMLDOM::GetElementTexts(const QString& tag, QStringList& values) const
{
    values.clear();
    for (const pugi::xml_node element : ElementsNamed(m_document, tag))
        values.append(TextContent(element));
    return values.isEmpty() ? XML_FALSE : XML_OK;
}

int CXMLDOM::SetElementText(const QString& tag, int position, const QString& value)
{
    const QList<pugi::xml_node> elements = ElementsNamed(m_document, tag);
    if (position < 0 || position >= elements.size())
        return XML_FALSE;
    SetTextContent(elements[position], value);
    return XML_OK;
}

// The status is that of the last element in document order: 1 when it lacks the
// attribute, even when earlier elements carry it.
CXMLDOM::KeyedElements CXMLDOM::FindKeyedElements(const QString& tag, const QString& attribute) const
{
    KeyedElements keyed;
    const QByteArray name = Utf8(attribute);
    for (const pugi::xml_node element : ElementsNamed(m_document, tag)) {
        const bool carries = bool(element.attribute(name.constData()));
        if (carries)
            keyed.elements.append(element);
        keyed.status = carries ? XML_OK : XML_FALSE;
    }
    return keyed;
}

int CXMLDOM::GetAttributeValues(const QString& tag, const QString& attribute, QStringList& values) const
{
    const KeyedElements keyed = FindKeyedElements(tag, attribute);
    const QByteArray name = Utf8(attribute);
    values.clear();
    for (const pugi::xml_node element : keyed.elements)
        values.append(FromUtf8(element.attribute(name.constData()).value()));
    return keyed.status;
}

int CXMLDOM::FindKeyedElement(const QString& tag, const QString& attribute, const QString& value, pugi::xml_node& element) const
{
    const KeyedElements keyed = FindKeyedElements(tag, attribute);
    if (keyed.status != XML_OK)
        return -1;
    const QByteArray name = Utf8(attribute);
    const QByteArray wanted = Utf8(value);
    for (int i = 0; i < keyed.elements.size(); ++i) {
        if (wanted == keyed.elements[i].attribute(name.constData()).value()) {
            element = keyed.elements[i];
            return i;
        }
    }
    return -1;
}

int CXMLDOM::FindElementIndex(const QString& tag, const QString& attribute, const QString& value) const
{
    pugi::xml_node element;
    return FindKeyedElement(tag, attribute, value, element);
}

int CXMLDOM::SetAttributeValue(const QString& tag, const QString& attribute, int position, const QString& value)
{
    const QList<pugi::xml_node> elements = ElementsNamed(m_document, tag);
    if (position < 0 || position >= elements.size())
        return XML_FALSE;
    pugi::xml_attribute found = elements[position].attribute(Utf8(attribute).constData());
    if (!found)
        return XML_FALSE;
    return found.set_value(Utf8(value).constData()) ? XML_OK : XML_FALSE;
}

int CXMLDOM::CreateElement(const QString& tag, pugi::xml_node& element)
{
    if (!IsXMLName(tag))
        return XML_E_INVALID_NAME;
    element = m_detached.append_child(Utf8(tag).constData());
    SetTextContent(element, QStringLiteral("\n"));
    return XML_OK;
}

int CXMLDOM::AppendNewChild(pugi::xml_node parent, const QString& tag, pugi::xml_node& child)
{
    pugi::xml_node created;
    if (parent.type() != pugi::node_element || CreateElement(tag, created) != XML_OK)
        return XML_FALSE;
    child = parent.append_copy(created);
    m_detached.remove_child(created);
    return child ? XML_OK : XML_FALSE;
}

int CXMLDOM::AppendChildText(pugi::xml_node parent, const QString& tag, const QString& value)
{
    pugi::xml_node child;
    const int status = AppendNewChild(parent, tag, child);
    if (status == XML_OK)
        SetTextContent(child, value);
    return status;
}

int CXMLDOM::AddAttribute(pugi::xml_node element, const QString& attribute, const QString& value)
{
    if (element.type() != pugi::node_element)
        return XML_E_NO_ELEMENT;
    if (!IsXMLName(attribute))
        return XML_E_INVALID_NAME;
    const QByteArray name = Utf8(attribute);
    pugi::xml_attribute existing = element.attribute(name.constData());
    pugi::xml_attribute target = existing ? existing : element.append_attribute(name.constData());
    return target.set_value(Utf8(value).constData()) ? XML_OK : XML_FALSE;
}

int CXMLDOM::AppendChildWithAttribute(pugi::xml_node parent, const QString& tag, const QString& attribute, const QString& value)
{
    // Checked first, so that a name the attribute cannot take leaves no bare element behind.
    if (!IsXMLName(attribute))
        return XML_E_INVALID_NAME;
    pugi::xml_node child;
    const int status = AppendNewChild(parent, tag, child);
    return status == XML_OK ? AddAttribute(child, attribute, value) : status;
}

// The child elements are counted over the whole document: the i-th child element in
// document order belongs to the i-th keyed parent.
int CXMLDOM::SetChildTextByKey(bool create, const QString& parentTag, const QString& keyAttribute, const QString& keyValue,
                               const QString& childTag, const QString& value)
{
    QList<pugi::xml_node> parents;
    if (GetElements(parentTag, parents) != XML_OK)
        return XML_FALSE;
    pugi::xml_node parent = parents.first();
    int position = 0;
    if (!keyAttribute.isEmpty() || !keyValue.isEmpty()) {
        position = FindKeyedElement(parentTag, keyAttribute, keyValue, parent);
        if (position < 0)
            return XML_FALSE;
    }
    if (SetElementText(childTag, position, value) == XML_OK)
        return XML_OK;
    return create ? AppendChildText(parent, childTag, value) : XML_FALSE;
}

// The child is created whenever it is missing, whatever the create flag says.
int CXMLDOM::EnsureChildByKey(bool /*create*/, const QString& parentTag, const QString& keyAttribute, const QString& keyValue,
                              const QString& childTag, const QString& childAttribute, const QString& value)
{
    QList<pugi::xml_node> parents;
    if (GetElements(parentTag, parents) != XML_OK)
        return XML_FALSE;
    pugi::xml_node parent = parents.first();
    if ((!keyAttribute.isEmpty() || !keyValue.isEmpty()) && FindKeyedElement(parentTag, keyAttribute, keyValue, parent) < 0)
        return XML_FALSE;
    // A child that already carries the value needs no write.
    pugi::xml_node existing;
    if (FindKeyedElement(childTag, childAttribute, value, existing) >= 0)
        return XML_OK;
    return AppendChildWithAttribute(parent, childTag, childAttribute, value);
}
