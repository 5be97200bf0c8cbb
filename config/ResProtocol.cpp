#include "config/ResProtocol.h"

#include "config/ResourceLibrary.h"
#include "config/ResourceSection.h"

#include "platform/ProgramDirectory.h"

#include <QDir>
#include <QFileInfo>

namespace {

constexpr QStringView kScheme = u"res://";

bool isPlainFileName(const QString& name)
{
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') && !name.contains(u'\\')
        && !name.contains(QChar(0));
}

std::optional<quint32> resourceType(QStringView text)
{
    if (text.isEmpty())
        return CResourceSection::kHtmlType;
    if (text.startsWith(u'#'))
        text = text.sliced(1);
    bool ok = false;
    const uint type = text.toUInt(&ok);
    return ok ? std::optional<quint32>(type) : std::nullopt;
}

// The library's file in the program directory; library names compare without regard
// to case, as the platform's library search does.
std::optional<QString> libraryPath(const QString& fileName)
{
    const QDir directory(Platform::programDirectory());
    if (QFileInfo(directory.filePath(fileName)).isFile())
        return directory.filePath(fileName);
    const QStringList files = directory.entryList(QDir::Files | QDir::Hidden);
    for (const QString& candidate : files) {
        if (candidate.compare(fileName, Qt::CaseInsensitive) == 0)
            return directory.filePath(candidate);
    }
    return std::nullopt;
}

} // namespace

QString ResUrl::libraryFileName() const
{
    QString base = library;
    if (base.endsWith(u".dll", Qt::CaseInsensitive))
        base.chop(4);
    return QStringLiteral("lib") + base + QStringLiteral(".so");
}

bool CResProtocol::isResUrl(QStringView source)
{
    return source.startsWith(kScheme, Qt::CaseInsensitive);
}

std::optional<ResUrl> CResProtocol::parse(QStringView url)
{
    if (!isResUrl(url))
        return std::nullopt;
    const QStringView rest = url.sliced(kScheme.size());
    const qsizetype libraryEnd = rest.indexOf(u'/');
    if (libraryEnd < 0)
        return std::nullopt;
    const QStringView path = rest.sliced(libraryEnd + 1);
    const qsizetype typeEnd = path.indexOf(u'/');
    const std::optional<quint32> type = resourceType(typeEnd < 0 ? QStringView() : path.first(typeEnd));
    ResUrl parsed{rest.first(libraryEnd).toString(), type.value_or(0), path.sliced(typeEnd + 1).toString()};
    if (!type || !isPlainFileName(parsed.library) || parsed.resource.isEmpty() || parsed.resource.contains(u'/'))
        return std::nullopt;
    return parsed;
}

Outcome<QByteArray> CResProtocol::read(QStringView url)
{
    const std::optional<ResUrl> parsed = parse(url);
    if (!parsed)
        return Outcome<QByteArray>::failure(QStringLiteral("not a res: URL of a library in the program directory: ")
                                            + url.toString());
    const QString fileName = parsed->libraryFileName();
    const std::optional<QString> path = libraryPath(fileName);
    if (!path)
        return Outcome<QByteArray>::failure(QStringLiteral("%1 is not in %2").arg(fileName, Platform::programDirectory()));
    const Outcome<CResourceLibrary> library = CResourceLibrary::open(*path);
    if (!library)
        return Outcome<QByteArray>::failure(library.error);
    return library.value->resource(parsed->type, parsed->resource);
}
