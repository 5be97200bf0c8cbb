#include "config/XMLDOM.h"
#include "config/XMLEncoding.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// Bytes that load as a document are written so that they load again: a save never
// leaves a file the next start cannot read. Lookups and writes on whatever loaded
// never fail unsafely.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    pugi::xml_document document;
    if (const std::optional<XMLEncoding> encoding = ParseXMLBytes(document, bytes)) {
        if (const std::optional<QByteArray> rendered = RenderXML(document, *encoding)) {
            pugi::xml_document reloaded;
            if (!ParseXMLBytes(reloaded, *rendered))
                std::abort();
        }
    }

    CXMLDOM dom;
    if (dom.Load(QString::fromUtf8(bytes), 1) != XML_OK)
        return 0;
    QList<pugi::xml_node> elements;
    dom.GetElements(QStringLiteral("CONFIG"), elements);
    dom.EnsureChildByKey(true, QStringLiteral("CONFIG"), QStringLiteral("xmlns:xsi"), QStringLiteral("ns"),
                         QStringLiteral("LASTSETTING"), QStringLiteral("CFGVERSION"), QStringLiteral("V1.0"));
    dom.SetChildTextByKey(true, QStringLiteral("LASTSETTING"), QStringLiteral("CFGVERSION"), QStringLiteral("V1.0"),
                          QStringLiteral("DOWNLOAD_RES"), QStringLiteral("<&\"'>"));
    QStringList texts;
    dom.GetElementTexts(QStringLiteral("DOWNLOAD_RES"), texts);
    return 0;
}
