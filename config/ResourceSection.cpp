#include "config/ResourceSection.h"

#include "config/EndianReader.h"

namespace {

constexpr QByteArrayView kMagic = "ZRSC";
constexpr quint16 kLayoutVersion = 1;
constexpr quint64 kHeaderSize = 24;
constexpr quint64 kEntrySize = 24;

bool fits(quint64 offset, quint64 length, quint64 total)
{
    return offset <= total && length <= total - offset;
}

ResourceVersion readVersion(const EndianReader& reader, quint64 offset)
{
    ResourceVersion version;
    for (std::size_t part = 0; part < version.parts.size(); ++part)
        version.parts[part] = reader.read<quint16>(offset + 2 * part);
    return version;
}

} // namespace

QString ResourceVersion::toString() const
{
    return QStringLiteral("%1.%2.%3.%4").arg(parts[0]).arg(parts[1]).arg(parts[2]).arg(parts[3]);
}

Outcome<CResourceSection> CResourceSection::parse(ElfSection section)
{
    using Parse = Outcome<CResourceSection>;
    const QByteArrayView bytes = section.contents;
    const quint64 total = quint64(bytes.size());
    if (total < kHeaderSize || bytes.first(kMagic.size()) != kMagic)
        return Parse::failure(QStringLiteral("the resource section has no directory"));
    const EndianReader reader(bytes, section.bigEndian);
    if (reader.read<quint16>(4) != kLayoutVersion)
        return Parse::failure(QStringLiteral("unknown resource directory layout %1").arg(reader.read<quint16>(4)));
    const quint64 count = reader.read<quint16>(6);
    if (!fits(kHeaderSize, count * kEntrySize, total))
        return Parse::failure(QStringLiteral("the resource directory is cut short"));

    CResourceSection result;
    result.m_fileVersion = readVersion(reader, 8);
    result.m_productVersion = readVersion(reader, 16);
    for (quint64 index = 0; index < count; ++index) {
        const quint64 at = kHeaderSize + index * kEntrySize;
        const quint64 nameOffset = reader.read<quint32>(at + 8);
        const quint64 nameSize = reader.read<quint32>(at + 12);
        const quint64 dataOffset = reader.read<quint32>(at + 16);
        const quint64 dataSize = reader.read<quint32>(at + 20);
        if (nameSize == 0 || !fits(nameOffset, nameSize, total) || !fits(dataOffset, dataSize, total))
            return Parse::failure(QStringLiteral("resource entry %1 lies outside the section").arg(index));
        result.m_entries.append({reader.read<quint32>(at), reader.read<quint32>(at + 4),
                                 QString::fromLatin1(bytes.sliced(qsizetype(nameOffset), qsizetype(nameSize))),
                                 bytes.sliced(qsizetype(dataOffset), qsizetype(dataSize))});
    }
    return {std::move(result), {}};
}

const ResourceEntry* CResourceSection::find(quint32 type, QStringView name) const
{
    for (const ResourceEntry& entry : m_entries) {
        if (entry.type == type && name.compare(entry.name, Qt::CaseInsensitive) == 0)
            return &entry;
    }
    return nullptr;
}
