#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

#include <pugixml.hpp>

#include <optional>

// How a document's bytes are encoded. Kept from the load so that a save writes the
// encoding the document declares, in the same form (byte-order mark included).
struct XMLEncoding {
    pugi::xml_encoding unicode = pugi::encoding_utf8; // used when codePage is empty
    QByteArray codePage;                               // a declared encoding outside Unicode
    bool byteOrderMark = false;
};

// Parses a document read from a file or resource: Unicode as its byte-order mark or
// its first characters show, any other encoding its declaration names. Nothing, and
// an empty document, when the bytes are not one well-formed document.
std::optional<XMLEncoding> ParseXMLBytes(pugi::xml_document& document, QByteArrayView bytes);

// Parses a document held as text; the encoding its declaration names is the one it is saved in.
std::optional<XMLEncoding> ParseXMLText(pugi::xml_document& document, QStringView text);

// The document's bytes in the given encoding; nothing when the code page is unknown
// or the bytes would not parse again. A character the code page cannot hold is
// written as a character reference.
std::optional<QByteArray> RenderXML(const pugi::xml_document& document, const XMLEncoding& encoding);
