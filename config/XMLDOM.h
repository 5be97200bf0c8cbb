#pragma once
#include "config/XMLEncoding.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <pugixml.hpp>

// Status codes of the document layer. Callers test zero against nonzero; the
// negative values say why an operation could not be done at all.
enum XMLStatus {
    XML_OK = 0,
    XML_FALSE = 1,             // not found, not possible, or the document did not load
    XML_E_INVALID_NAME = -1,   // a tag or attribute name that XML does not allow
    XML_E_NO_ELEMENT = -2,     // an element argument that is no element
    XML_E_NO_DOCUMENT = -3,    // a save with no document element to write
    XML_E_WRITE = -4,          // the file could not be written whole
};

// One XML document, searched by tag name over the whole document in document order
// (the root element included), with every value read and written as text.
// Operations after Load need a loaded document; on an empty one they find nothing.
class CXMLDOM {
public:
    CXMLDOM() = default;
    CXMLDOM(const CXMLDOM&) = delete;
    CXMLDOM& operator=(const CXMLDOM&) = delete;

    // Mode 0: source is a file path, a file: URL or a res: URL naming a document in a
    // resource library of the program directory. Mode 1: source is the XML text.
    int Load(const QString& source, int mode);
    int Save(const QString& path) const;
    void ReleaseDocument();

    int GetElements(const QString& tag, QList<pugi::xml_node>& elements) const;
    int GetElementTexts(const QString& tag, QStringList& values) const;
    int SetElementText(const QString& tag, int position, const QString& value);
    int GetAttributeValues(const QString& tag, const QString& attribute, QStringList& values) const;
    int FindElementIndex(const QString& tag, const QString& attribute, const QString& value) const;
    int SetAttributeValue(const QString& tag, const QString& attribute, int position, const QString& value);

    // The new element belongs to this object but not yet to the document; it lives
    // until the next Load or ReleaseDocument.
    int CreateElement(const QString& tag, pugi::xml_node& element);
    int AppendChildText(pugi::xml_node parent, const QString& tag, const QString& value);
    int AddAttribute(pugi::xml_node element, const QString& attribute, const QString& value);
    int AppendChildWithAttribute(pugi::xml_node parent, const QString& tag, const QString& attribute, const QString& value);

    int SetChildTextByKey(bool create, const QString& parentTag, const QString& keyAttribute, const QString& keyValue,
                          const QString& childTag, const QString& value);
    int EnsureChildByKey(bool create, const QString& parentTag, const QString& keyAttribute, const QString& keyValue,
                         const QString& childTag, const QString& childAttribute, const QString& value);

private:
    struct KeyedElements {
        QList<pugi::xml_node> elements; // those that carry the attribute, in document order
        int status = XML_FALSE;
    };
    KeyedElements FindKeyedElements(const QString& tag, const QString& attribute) const;
    int FindKeyedElement(const QString& tag, const QString& attribute, const QString& value, pugi::xml_node& element) const;
    int AppendNewChild(pugi::xml_node parent, const QString& tag, pugi::xml_node& child);

    pugi::xml_document m_document;
    pugi::xml_document m_detached; // holds created elements until they are appended
    XMLEncoding m_encoding;
};
