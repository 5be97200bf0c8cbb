#include "ElfFixture.h"

#include <QtEndian>

namespace {

void putNumber(QByteArray& bytes, quint64 offset, quint64 value, int width, bool bigEndian)
{
    for (int i = 0; i < width; ++i) {
        const int shift = 8 * (bigEndian ? width - 1 - i : i);
        bytes[qsizetype(offset) + i] = char((value >> shift) & 0xff);
    }
}

void appendNumber(QByteArray& bytes, quint64 value, int width, bool bigEndian)
{
    const qsizetype at = bytes.size();
    bytes.resize(at + width);
    putNumber(bytes, quint64(at), value, width, bigEndian);
}

void padTo(QByteArray& bytes, int alignment)
{
    while (bytes.size() % alignment != 0)
        bytes.append('\0');
}

} // namespace

ElfFixture::ElfFixture(bool wide, bool bigEndian, const QList<FixtureSection>& sections)
    : m_wide(wide), m_bigEndian(bigEndian), m_nameTableIndex(int(sections.size()) + 1)
{
    const int headerSize = wide ? 64 : 52;
    const int entrySize = wide ? 64 : 40;
    QList<FixtureSection> all{FixtureSection{"", 0, {}}};
    all.append(sections);
    FixtureSection names{".shstrtab", 3, QByteArray(1, '\0')};
    QList<quint32> nameOffsets;
    for (const FixtureSection& section : all) {
        nameOffsets.append(section.name.isEmpty() ? 0 : quint32(names.contents.size()));
        if (!section.name.isEmpty())
            names.contents.append(section.name).append('\0');
    }
    nameOffsets.append(quint32(names.contents.size()));
    names.contents.append(names.name).append('\0');
    all.append(names);

    bytes = QByteArray(headerSize, '\0');
    bytes.replace(0, 7, QByteArray("\x7f" "ELF") + char(wide ? 2 : 1) + char(bigEndian ? 2 : 1) + char(1));
    QList<quint64> offsets;
    for (const FixtureSection& section : all) {
        padTo(bytes, 4);
        offsets.append(section.contents.isEmpty() ? 0 : quint64(bytes.size()));
        bytes.append(section.contents);
    }
    padTo(bytes, 8);
    const quint64 tableOffset = quint64(bytes.size());
    for (qsizetype index = 0; index < all.size(); ++index) {
        QByteArray header(entrySize, '\0');
        putNumber(header, 0, nameOffsets[index], 4, bigEndian);
        putNumber(header, 4, all[index].type, 4, bigEndian);
        putNumber(header, wide ? 24 : 16, offsets[index], wordWidth(), bigEndian);
        putNumber(header, wide ? 32 : 20, quint64(all[index].contents.size()), wordWidth(), bigEndian);
        bytes.append(header);
    }
    put(sectionTableOffsetField(), tableOffset, wordWidth());
    put(sectionHeaderSizeField(), quint64(entrySize), 2);
    put(sectionCountField(), quint64(all.size()), 2);
    put(nameTableIndexField(), quint64(m_nameTableIndex), 2);
}

void ElfFixture::put(quint64 offset, quint64 value, int width)
{
    putNumber(bytes, offset, value, width, m_bigEndian);
}

quint64 ElfFixture::get(quint64 offset, int width) const
{
    quint64 value = 0;
    for (int i = 0; i < width; ++i) {
        const int shift = 8 * (m_bigEndian ? width - 1 - i : i);
        value |= quint64(quint8(bytes[qsizetype(offset) + i])) << shift;
    }
    return value;
}

quint64 ElfFixture::sectionHeader(int index) const
{
    return get(sectionTableOffsetField(), wordWidth()) + quint64(index) * (m_wide ? 64 : 40);
}

QByteArray resourceDirectory(const QList<FixtureResource>& resources, bool bigEndian)
{
    constexpr int kHeaderSize = 24;
    constexpr int kEntrySize = 24;
    QByteArray section("ZRSC");
    appendNumber(section, 1, 2, bigEndian);
    appendNumber(section, quint64(resources.size()), 2, bigEndian);
    for (int copy = 0; copy < 2; ++copy) {
        for (quint64 part : {1, 0, 0, 1})
            appendNumber(section, part, 2, bigEndian);
    }
    QByteArray tail;
    const quint64 tailStart = kHeaderSize + kEntrySize * quint64(resources.size());
    for (const FixtureResource& resource : resources) {
        appendNumber(section, resource.type, 4, bigEndian);
        appendNumber(section, resource.language, 4, bigEndian);
        appendNumber(section, tailStart + quint64(tail.size()), 4, bigEndian);
        appendNumber(section, quint64(resource.name.size()), 4, bigEndian);
        tail.append(resource.name);
        appendNumber(section, tailStart + quint64(tail.size()), 4, bigEndian);
        appendNumber(section, quint64(resource.data.size()), 4, bigEndian);
        tail.append(resource.data);
    }
    return section + tail;
}
