#pragma once
#include <QByteArray>
#include <QList>

// Small ELF files and resource directories made by hand, to test the readers on every
// class and byte order and on damage placed exactly.
struct FixtureSection {
    QByteArray name;
    quint32 type = 1; // SHT_PROGBITS
    QByteArray contents;
};

struct FixtureResource {
    quint32 type = 23;
    quint32 language = 2052;
    QByteArray name;
    QByteArray data;
};

class ElfFixture {
public:
    // Section 0 is the null section, then the given sections, then the section name table.
    ElfFixture(bool wide, bool bigEndian, const QList<FixtureSection>& sections);

    QByteArray bytes;

    // Overwrites a number in the file's byte order.
    void put(quint64 offset, quint64 value, int width);
    quint64 get(quint64 offset, int width) const;

    // File header fields.
    quint64 sectionTableOffsetField() const { return m_wide ? 40 : 32; }
    quint64 sectionHeaderSizeField() const { return m_wide ? 58 : 46; }
    quint64 sectionCountField() const { return m_wide ? 60 : 48; }
    quint64 nameTableIndexField() const { return m_wide ? 62 : 50; }
    int wordWidth() const { return m_wide ? 8 : 4; }

    // Fields of section header index.
    quint64 sectionHeader(int index) const;
    quint64 nameField(int index) const { return sectionHeader(index); }
    quint64 typeField(int index) const { return sectionHeader(index) + 4; }
    quint64 offsetField(int index) const { return sectionHeader(index) + (m_wide ? 24 : 16); }
    quint64 sizeField(int index) const { return sectionHeader(index) + (m_wide ? 32 : 20); }
    quint64 linkField(int index) const { return sectionHeader(index) + (m_wide ? 40 : 24); }
    int nameTableIndex() const { return m_nameTableIndex; }

private:
    bool m_wide;
    bool m_bigEndian;
    int m_nameTableIndex;
};

// A resource section as resources/CMakeLists.txt lays it out, with version 1.0.0.1 twice.
QByteArray resourceDirectory(const QList<FixtureResource>& resources, bool bigEndian);
