#pragma once
#include "config/XMLDOM.h"

#include <QString>

#include <optional>

// The product catalogue ZARV_CONFIG.xml: the catalogue version, the models offered
// per role and the table of outside (marketing) model names.
class CProductCatalogue {
public:
    static inline const QString kUrl = QStringLiteral("res://Sorrel.dll//ZARV_CONFIG.xml");

    enum class VersionRead { Read, LoadFailed, Missing };

    // Reads ZARV_VERSION with an accessor opened and closed around the read, as the
    // login window, the file selection and the common settings page do. On failure
    // error holds the accessor's message and version is left as it was.
    static VersionRead ReadVersion(QString& version, QString& error, const QString& source = kUrl);

    // The version up to its first "_", followed by ".0": "V2.1.3_160101_02" gives
    // "V2.1.3.0"; a version without "_" is dropped whole and gives ".0".
    static QString ShortVersion(const QString& version);

    // From a res: URL or a file; false when it cannot be read or is not well-formed XML.
    bool Load(const QString& source = kUrl);

    // The inside name of the first SameDevice whose phone attribute equals the outside
    // name: its text after the separator "_*_". Nothing when there is none.
    std::optional<QString> InsideModelName(const QString& outsideName) const;

private:
    CXMLDOM m_document;
};
