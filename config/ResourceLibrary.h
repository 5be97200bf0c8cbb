#pragma once
#include "config/Outcome.h"
#include "config/ResourceSection.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

// The resource library read as a data file: its bytes are read and searched, the
// library is never loaded or run.
class CResourceLibrary {
public:
    // Larger files are refused rather than read whole; the real library is a few hundred kilobytes.
    static constexpr qint64 kMaximumFileSize = 64 * 1024 * 1024;

    // Reads the file at path and the directory of its resource section.
    static Outcome<CResourceLibrary> open(const QString& path);

    // Takes the bytes of a library file; fileName only names it in error texts.
    static Outcome<CResourceLibrary> fromBytes(QByteArray file, const QString& fileName);

    const CResourceSection& section() const { return m_section; }

    // A copy of the bytes of the resource of that type and name (names compare without regard to case).
    Outcome<QByteArray> resource(quint32 type, QStringView name) const;

private:
    QByteArray m_file; // never changed, so the section's views into it stay valid in every copy
    CResourceSection m_section;
    QString m_fileName;
};
