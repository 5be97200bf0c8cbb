#include "widgets/ResourceImage.h"

#include <QDir>
#include <QFileInfo>

namespace {

const char* const kSearchPrefix = "zarvres";
const char* const kBuiltInFolder = ":/zarvres";

QPixmap loadNumbered(const char* kind, int id)
{
    const QString path = ResourceImage::Locate(QStringLiteral("%1/%2.png").arg(QLatin1String(kind)).arg(id));
    return path.isEmpty() ? QPixmap() : QPixmap(path);
}

} // namespace

QPixmap ResourceImage::Bitmap(int id)
{
    return loadNumbered("bitmap", id);
}

QPixmap ResourceImage::Icon(int id)
{
    return loadNumbered("icon", id);
}

QString ResourceImage::Locate(const QString& relativePath)
{
    QStringList folders = QDir::searchPaths(QLatin1String(kSearchPrefix));
    folders << QLatin1String(kBuiltInFolder);
    for (const QString& folder : folders) {
        const QString path = QDir(folder).filePath(relativePath);
        if (QFileInfo::exists(path))
            return path;
    }
    return QString();
}

void ResourceImage::AddSearchFolder(const QString& folder)
{
    QDir::addSearchPath(QLatin1String(kSearchPrefix), folder);
}
