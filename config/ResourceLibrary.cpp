#include "config/ResourceLibrary.h"

#include "config/ElfSection.h"

#include <QFile>
#include <QFileInfo>

Outcome<CResourceLibrary> CResourceLibrary::open(const QString& path)
{
    const QString fileName = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Outcome<CResourceLibrary>::failure(QStringLiteral("cannot open %1: %2").arg(path, file.errorString()));
    const QString tooLarge = QStringLiteral("%1 is too large to be the resource library").arg(fileName);
    if (file.size() > kMaximumFileSize)
        return Outcome<CResourceLibrary>::failure(tooLarge);
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Outcome<CResourceLibrary>::failure(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
    if (bytes.size() > kMaximumFileSize)
        return Outcome<CResourceLibrary>::failure(tooLarge);
    return fromBytes(std::move(bytes), fileName);
}

Outcome<CResourceLibrary> CResourceLibrary::fromBytes(QByteArray file, const QString& fileName)
{
    const Outcome<ElfSection> section = FindElfSection(file, CResourceSection::kSectionName);
    if (!section)
        return Outcome<CResourceLibrary>::failure(fileName + QStringLiteral(": ") + section.error);
    Outcome<CResourceSection> directory = CResourceSection::parse(*section.value);
    if (!directory)
        return Outcome<CResourceLibrary>::failure(fileName + QStringLiteral(": ") + directory.error);
    CResourceLibrary library;
    library.m_file = std::move(file);
    library.m_section = std::move(*directory.value);
    library.m_fileName = fileName;
    return {std::move(library), {}};
}

Outcome<QByteArray> CResourceLibrary::resource(quint32 type, QStringView name) const
{
    const ResourceEntry* entry = m_section.find(type, name);
    if (!entry)
        return Outcome<QByteArray>::failure(
            QStringLiteral("%1 holds no resource %2 of type %3").arg(m_fileName, name.toString()).arg(type));
    return {entry->data.toByteArray(), {}};
}
