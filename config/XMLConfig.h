#pragma once
#include <QString>

#include <memory>

class CXMLDOM;

// The one way the program reads and writes XML: loads a document for one job,
// reads and writes items by tag name, saves it back to where it came from. Every
// operation answers true or false; on failure the error text, ready to show to the
// operator, is set, and on success it is left as it was.
class CXMLConfig {
public:
    CXMLConfig();
    ~CXMLConfig();
    CXMLConfig(const CXMLConfig&) = delete;
    CXMLConfig& operator=(const CXMLConfig&) = delete;

    // A file path, a file: URL or a res: URL ("res://Sorrel.dll//ZARV_CONFIG.xml").
    bool LoadFile(const QString& path, QString& error);
    bool SaveFile();
    void CloseFile();

    bool GetItemValue(const QString& tag, QString& value, QString& error);
    bool SetItemValue(const QString& tag, const QString& value, QString& error);
    bool SetChildItemValue(bool create, const QString& parentTag, const QString& keyAttribute, const QString& keyValue,
                           const QString& childTag, const QString& value, QString& error);
    bool SetChildItemAttribute(bool create, const QString& parentTag, const QString& keyAttribute, const QString& keyValue,
                               const QString& childTag, const QString& childAttribute, const QString& value,
                               QString& error);

private:
    std::unique_ptr<CXMLDOM> m_document;
    QString m_path;
};
