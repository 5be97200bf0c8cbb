#include "config/XMLConfig.h"

#include "config/XMLDOM.h"

#include <QStringList>

namespace {

const QString kLoadMessage = QStringLiteral(
    "Could not load: %s\n"
    "1.Please make sure your xml file path and its format is correct.\n"
    "2.Moreover, please make sure your Windows system have installed MSXML.msi also.\n");
const QString kItemMessage = QStringLiteral("Could not find: %s item in xml file, please check your xml file!");
const QString kAttributeMessage = QStringLiteral("Could not find: %s item in xml file, set attribute failed!");

// Puts the name in place of the one %s, whatever characters the name holds.
QString Fill(const QString& message, const QString& name)
{
    const qsizetype placeholder = message.indexOf(QLatin1String("%s"));
    return message.left(placeholder) + name + message.mid(placeholder + 2);
}

bool Report(bool success, const QString& message, const QString& name, QString& error)
{
    if (!success)
        error = Fill(message, name);
    return success;
}

} // namespace

CXMLConfig::CXMLConfig() : m_document(std::make_unique<CXMLDOM>()) {}

CXMLConfig::~CXMLConfig() = default;

bool CXMLConfig::LoadFile(const QString& path, QString& error)
{
    m_path = path;
    return Report(m_document->Load(path, 0) == XML_OK, kLoadMessage, path, error);
}

bool CXMLConfig::SaveFile()
{
    return m_document->Save(m_path) == XML_OK;
}

void CXMLConfig::CloseFile()
{
    m_document->ReleaseDocument();
}

bool CXMLConfig::GetItemValue(const QString& tag, QString& value, QString& error)
{
    QStringList values;
    const bool found = m_document->GetElementTexts(tag, values) == XML_OK;
    if (found)
        value = values.first();
    return Report(found, kItemMessage, tag, error);
}

bool CXMLConfig::SetItemValue(const QString& tag, const QString& value, QString& error)
{
    return Report(m_document->SetElementText(tag, 0, value) == XML_OK, kItemMessage, tag, error);
}

bool CXMLConfig::SetChildItemValue(bool create, const QString& parentTag, const QString& keyAttribute,
                                   const QString& keyValue, const QString& childTag, const QString& value, QString& error)
{
    const int status = m_document->SetChildTextByKey(create, parentTag, keyAttribute, keyValue, childTag, value);
    return Report(status == XML_OK, kItemMessage, parentTag, error);
}

bool CXMLConfig::SetChildItemAttribute(bool create, const QString& parentTag, const QString& keyAttribute,
                                       const QString& keyValue, const QString& childTag, const QString& childAttribute,
                                       const QString& value, QString& error)
{
    const int status = m_document->EnsureChildByKey(create, parentTag, keyAttribute, keyValue, childTag, childAttribute, value);
    return Report(status == XML_OK, kAttributeMessage, childTag, error);
}
