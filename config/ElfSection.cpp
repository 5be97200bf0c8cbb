#include "config/ElfSection.h"

#include "config/EndianReader.h"

namespace {

using Lookup = Outcome<ElfSection>;

constexpr quint16 kExtendedIndex = 0xffff; // SHN_XINDEX: the real index sits in section 0
constexpr quint32 kNoBitsType = 8;         // SHT_NOBITS: a section with no bytes in the file

// Where the fields of the file header and of a section header sit, by file class.
struct Layout {
    bool wide;
    quint64 headerSize, sectionHeaderOffsetField, sectionHeaderSizeField, sectionCountField, nameTableIndexField;
    quint64 sectionHeaderSize, typeField, linkField, offsetField, sizeField;
};

constexpr Layout kElf32{false, 52, 32, 46, 48, 50, 40, 4, 24, 16, 20};
constexpr Layout kElf64{true, 64, 40, 58, 60, 62, 64, 4, 40, 24, 32};

bool fits(quint64 offset, quint64 length, quint64 total)
{
    return offset <= total && length <= total - offset;
}

struct SectionHeader {
    quint32 nameOffset;
    quint32 type;
    quint32 link;
    quint64 offset;
    quint64 size;
};

class ElfImage {
public:
    ElfImage(QByteArrayView image, const Layout& layout, bool bigEndian)
        : m_image(image), m_layout(layout), m_bigEndian(bigEndian), m_fields(image, bigEndian)
    {
    }

    Lookup find(QByteArrayView name)
    {
        if (QString error = readSectionTable(); !error.isEmpty())
            return Lookup::failure(error);
        const std::optional<QByteArrayView> names = contentsOf(m_nameTableIndex);
        if (!names)
            return Lookup::failure(QStringLiteral("the section name table lies outside the file"));
        for (quint64 index = 0; index < m_sectionCount; ++index) {
            if (sectionName(*names, header(index).nameOffset) != name)
                continue;
            const std::optional<QByteArrayView> contents = contentsOf(index);
            if (!contents)
                return Lookup::failure(QStringLiteral("section %1 lies outside the file").arg(QString::fromLatin1(name)));
            return {ElfSection{*contents, m_bigEndian}, {}};
        }
        return Lookup::failure(QStringLiteral("no section %1").arg(QString::fromLatin1(name)));
    }

private:
    QString readSectionTable()
    {
        const quint64 total = quint64(m_image.size());
        m_tableOffset = m_fields.word(m_layout.sectionHeaderOffsetField, m_layout.wide);
        m_entrySize = m_fields.read<quint16>(m_layout.sectionHeaderSizeField);
        m_sectionCount = m_fields.read<quint16>(m_layout.sectionCountField);
        m_nameTableIndex = m_fields.read<quint16>(m_layout.nameTableIndexField);
        if (m_tableOffset == 0)
            return QStringLiteral("the file has no section table");
        if (m_entrySize < m_layout.sectionHeaderSize)
            return QStringLiteral("section headers are too small");
        if (!fits(m_tableOffset, m_entrySize, total))
            return QStringLiteral("the section table lies outside the file");
        if (m_sectionCount == 0)
            m_sectionCount = header(0).size;
        if (m_nameTableIndex == kExtendedIndex)
            m_nameTableIndex = header(0).link;
        if (m_sectionCount > (total - m_tableOffset) / m_entrySize)
            return QStringLiteral("the section table lies outside the file");
        if (m_nameTableIndex >= m_sectionCount)
            return QStringLiteral("the section name table index is out of range");
        return QString();
    }

    SectionHeader header(quint64 index) const
    {
        const quint64 at = m_tableOffset + index * m_entrySize;
        return {m_fields.read<quint32>(at),
                m_fields.read<quint32>(at + m_layout.typeField),
                m_fields.read<quint32>(at + m_layout.linkField),
                m_fields.word(at + m_layout.offsetField, m_layout.wide),
                m_fields.word(at + m_layout.sizeField, m_layout.wide)};
    }

    std::optional<QByteArrayView> contentsOf(quint64 index) const
    {
        const SectionHeader section = header(index);
        if (section.type == kNoBitsType || !fits(section.offset, section.size, quint64(m_image.size())))
            return std::nullopt;
        return m_image.sliced(qsizetype(section.offset), qsizetype(section.size));
    }

    static QByteArrayView sectionName(QByteArrayView names, quint32 offset)
    {
        if (offset >= quint64(names.size()))
            return {};
        const QByteArrayView rest = names.sliced(offset);
        const qsizetype end = rest.indexOf('\0');
        return end < 0 ? QByteArrayView() : rest.first(end);
    }

    QByteArrayView m_image;
    const Layout& m_layout;
    bool m_bigEndian;
    EndianReader m_fields;
    quint64 m_tableOffset = 0;
    quint64 m_entrySize = 0;
    quint64 m_sectionCount = 0;
    quint64 m_nameTableIndex = 0;
};

} // namespace

Outcome<ElfSection> FindElfSection(QByteArrayView image, QByteArrayView name)
{
    constexpr qsizetype kIdentSize = 16;
    if (image.size() < kIdentSize || image.first(4) != QByteArrayView("\x7f" "ELF"))
        return Lookup::failure(QStringLiteral("not an ELF file"));
    const char fileClass = image[4];
    const char byteOrder = image[5];
    if ((fileClass != 1 && fileClass != 2) || (byteOrder != 1 && byteOrder != 2) || image[6] != 1)
        return Lookup::failure(QStringLiteral("unknown ELF class, byte order or version"));
    const Layout& layout = fileClass == 2 ? kElf64 : kElf32;
    if (quint64(image.size()) < layout.headerSize)
        return Lookup::failure(QStringLiteral("the ELF header is cut short"));
    if (name.isEmpty())
        return Lookup::failure(QStringLiteral("no section name given"));
    return ElfImage(image, layout, byteOrder == 2).find(name);
}
