#include "config/XMLEncoding.h"

#include "platform/CodePage.h"

#include <QRegularExpression>
#include <QString>

#include <algorithm>

namespace {

// Declarations, comments and processing instructions are kept so that a save
// writes back what it read. As a fragment the parser keeps text outside the root
// element, which IsOneDocument then refuses instead of the parser dropping it.
constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_declaration | pugi::parse_comments
    | pugi::parse_pi | pugi::parse_doctype | pugi::parse_fragment;

// Indentation grows with depth, so a deep document is written without it: its size
// would otherwise grow with the square of its depth.
constexpr int kDeepestIndentedLevel = 64;

bool StartsWithByteOrderMark(QByteArrayView bytes)
{
    for (const char* mark : {"\xEF\xBB\xBF", "\xFE\xFF", "\xFF\xFE"}) {
        if (bytes.startsWith(QByteArrayView(mark)))
            return true;
    }
    return false;
}

bool IsUnicodeName(const QByteArray& name)
{
    const QByteArray lower = name.toLower();
    return lower.isEmpty() || lower.startsWith("utf") || lower.startsWith("ucs") || lower == "unicode";
}

// The encoding named by a declaration written in ASCII-compatible bytes, else empty.
QByteArray DeclaredEncoding(QByteArrayView bytes)
{
    if (!bytes.startsWith("<?xml"))
        return {};
    const qsizetype end = QByteArray::fromRawData(bytes.data(), bytes.size()).indexOf("?>");
    if (end < 0)
        return {};
    static const QRegularExpression pattern(QStringLiteral(R"(\sencoding\s*=\s*(["'])([A-Za-z][A-Za-z0-9._-]*)\1)"));
    const QRegularExpressionMatch match = pattern.match(QString::fromLatin1(bytes.first(end)));
    return match.hasMatch() ? match.captured(2).toLatin1() : QByteArray();
}

QByteArray DeclaredEncoding(const pugi::xml_document& document)
{
    const pugi::xml_node declaration = document.first_child();
    if (declaration.type() != pugi::node_declaration)
        return {};
    return QByteArray(declaration.attribute("encoding").value());
}

// One element at the top, no text beside it and a declaration only at the start;
// the parser alone lets all three pass.
bool IsOneDocument(const pugi::xml_document& document)
{
    int elements = 0;
    for (const pugi::xml_node node : document.children()) {
        if (node.type() == pugi::node_element)
            ++elements;
        else if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata)
            return false;
        else if (node.type() == pugi::node_declaration && node != document.first_child())
            return false;
    }
    return elements == 1;
}

class DepthMeasure : public pugi::xml_tree_walker {
public:
    bool for_each(pugi::xml_node&) override
    {
        deepest = std::max(deepest, depth());
        return true;
    }
    int deepest = 0;
};

int Depth(const pugi::xml_document& document)
{
    DepthMeasure measure;
    pugi::xml_node root = document;
    root.traverse(measure);
    return measure.deepest;
}

std::optional<XMLEncoding> Accept(pugi::xml_document& document, const pugi::xml_parse_result& result, XMLEncoding encoding)
{
    if (result && IsOneDocument(document))
        return encoding;
    document.reset();
    return std::nullopt;
}

pugi::xml_parse_result ParseUtf16(pugi::xml_document& document, QStringView text)
{
    return document.load_buffer(text.utf16(), size_t(text.size()) * sizeof(char16_t), kParseOptions, pugi::encoding_utf16_le);
}

class ByteArrayWriter : public pugi::xml_writer {
public:
    void write(const void* data, size_t size) override { bytes.append(static_cast<const char*>(data), qsizetype(size)); }
    QByteArray bytes;
};

QByteArray CharacterReference(char32_t codePoint)
{
    return QByteArray("&#x") + QByteArray::number(uint(codePoint), 16).toUpper() + ';';
}

} // namespace

std::optional<XMLEncoding> ParseXMLBytes(pugi::xml_document& document, QByteArrayView bytes)
{
    document.reset();
    const QByteArray declared = DeclaredEncoding(bytes);
    if (StartsWithByteOrderMark(bytes) || IsUnicodeName(declared)) {
        const pugi::xml_parse_result result = document.load_buffer(bytes.data(), size_t(bytes.size()), kParseOptions);
        return Accept(document, result, {result.encoding, {}, StartsWithByteOrderMark(bytes)});
    }
    const std::optional<QString> text = Platform::fromNamedCodePage(declared, bytes);
    if (!text)
        return std::nullopt;
    return Accept(document, ParseUtf16(document, *text), {pugi::encoding_utf8, declared, false});
}

std::optional<XMLEncoding> ParseXMLText(pugi::xml_document& document, QStringView text)
{
    document.reset();
    const pugi::xml_parse_result result = ParseUtf16(document, text);
    const QByteArray declared = DeclaredEncoding(document).toLower();
    XMLEncoding encoding;
    if (!IsUnicodeName(declared))
        encoding.codePage = declared;
    else if (declared.startsWith("utf-16") || declared.startsWith("ucs-2") || declared == "unicode")
        encoding = {pugi::encoding_utf16_le, {}, true};
    else if (declared.startsWith("utf-32"))
        encoding = {pugi::encoding_utf32_le, {}, true};
    return Accept(document, result, encoding);
}

std::optional<QByteArray> RenderXML(const pugi::xml_document& document, const XMLEncoding& encoding)
{
    unsigned flags = pugi::format_no_declaration;
    flags |= Depth(document) <= kDeepestIndentedLevel ? pugi::format_indent : pugi::format_raw;
    if (encoding.byteOrderMark)
        flags |= pugi::format_write_bom;
    ByteArrayWriter writer;
    std::optional<QByteArray> bytes;
    if (encoding.codePage.isEmpty()) {
        document.save(writer, PUGIXML_TEXT("\t"), flags, encoding.unicode);
        bytes = writer.bytes;
    } else {
        document.save(writer, PUGIXML_TEXT("\t"), flags, pugi::encoding_utf8);
        bytes = Platform::toNamedCodePage(encoding.codePage, QString::fromUtf8(writer.bytes), CharacterReference);
    }
    // A character the code page lacks inside a name, or anything else the parser let
    // in, could make bytes that no longer parse; such bytes never replace a file.
    pugi::xml_document check;
    if (!bytes || !ParseXMLBytes(check, *bytes))
        return std::nullopt;
    return bytes;
}
