#pragma once
#include "config/ElfSection.h"
#include "config/Outcome.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>

#include <array>

// A version as four numbers, 1.0.0.1 for {1, 0, 0, 1}.
struct ResourceVersion {
    std::array<quint16, 4> parts{};
    QString toString() const;
};

struct ResourceEntry {
    quint32 type = 0;
    quint32 language = 0;
    QString name;
    QByteArrayView data;
};

// The resource section of the resource library: a directory, then the resources'
// bytes. resources/CMakeLists.txt writes it; every number is in the byte order of
// the ELF file that holds it:
//   0   "ZRSC"
//   4   u16 layout version (1), u16 number of entries
//   8   u16[4] file version, u16[4] product version
//   24  the entries, 24 bytes each: u32 type, u32 language, u32 name offset,
//       u32 name size, u32 data offset, u32 data size
// Offsets count from the start of the section; names are ASCII, without terminator.
class CResourceSection {
public:
    static constexpr QByteArrayView kSectionName = ".zarv_resources";
    static constexpr quint32 kHtmlType = 23;

    // Reads the directory and checks that every entry lies inside the section.
    // The entries' views point into the section's bytes.
    static Outcome<CResourceSection> parse(ElfSection section);

    const QList<ResourceEntry>& entries() const { return m_entries; }
    ResourceVersion fileVersion() const { return m_fileVersion; }
    ResourceVersion productVersion() const { return m_productVersion; }

    // The first entry of that type whose name equals name without regard to case.
    const ResourceEntry* find(quint32 type, QStringView name) const;

private:
    QList<ResourceEntry> m_entries;
    ResourceVersion m_fileVersion;
    ResourceVersion m_productVersion;
};
