#include "config/ProductCatalogue.h"

#include "config/XMLConfig.h"

namespace {

const QString kVersionItem = QStringLiteral("ZARV_VERSION");
const QString kSameDeviceSeparator = QStringLiteral("_*_");

} // namespace

CProductCatalogue::VersionRead CProductCatalogue::ReadVersion(QString& version, QString& error, const QString& source)
{
    CXMLConfig catalogue;
    if (!catalogue.LoadFile(source, error))
        return VersionRead::LoadFailed;
    return catalogue.GetItemValue(kVersionItem, version, error) ? VersionRead::Read : VersionRead::Missing;
}

QString CProductCatalogue::ShortVersion(const QString& version)
{
    const qsizetype separator = version.indexOf(u'_');
    return (separator < 0 ? QString() : version.left(separator)) + QStringLiteral(".0");
}

bool CProductCatalogue::Load(const QString& source)
{
    return m_document.Load(source, 0) == XML_OK;
}

std::optional<QString> CProductCatalogue::InsideModelName(const QString& outsideName) const
{
    const QString tag = QStringLiteral("SameDevice");
    QList<pugi::xml_node> entries;
    QStringList texts;
    m_document.GetElements(tag, entries);
    m_document.GetElementTexts(tag, texts);
    const QByteArray wanted = outsideName.toUtf8();
    for (qsizetype i = 0; i < entries.size() && i < texts.size(); ++i) {
        if (wanted != entries[i].attribute("phone").value())
            continue;
        const QString& text = texts[i];
        const qsizetype separator = text.indexOf(kSameDeviceSeparator);
        if (separator < 0)
            return std::nullopt;
        return text.mid(separator + kSameDeviceSeparator.size());
    }
    return std::nullopt;
}
