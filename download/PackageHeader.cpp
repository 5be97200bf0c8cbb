#include "download/PackageHeader.h"

#include "platform/CodePage.h"

#include <QFile>

namespace {

int modelNameOffset(int headerVersion)
{
    switch (headerVersion) {
    case 14:
    case 15:
    case 16: return 36;
    case 17: return 48;
    default: return 4; // 13 and 18
    }
}

} // namespace

std::optional<int> PackageHeaderVersion(QByteArrayView header)
{
    if (header.size() < 4)
        return std::nullopt;
    if (header.first(4) == QByteArrayView("WTVK"))
        return 13;
    if (header[0] != 'V' || header[1] != 'K' || header[2] != 0x01)
        return std::nullopt;
    const int minor = header[3];
    if (minor < 3 || minor > 8)
        return std::nullopt;
    return header[2] * 10 + minor;
}

std::optional<QString> PackageModelFromHeader(QByteArrayView header)
{
    if (header.size() < kPackageHeaderSize)
        return std::nullopt;
    const std::optional<int> version = PackageHeaderVersion(header);
    if (!version)
        return std::nullopt;
    const QByteArrayView field = header.first(kPackageHeaderSize).sliced(modelNameOffset(*version));
    const qsizetype nul = field.indexOf('\0');
    return Platform::fromAnsiCodePage(nul < 0 ? field : field.first(nul));
}

bool ReadPackageModel(const QString& path, QString& modelName)
{
    if (path.isEmpty())
        return false;
    QFile package(path);
    if (!package.open(QIODevice::ReadOnly))
        return false;
    const QByteArray header = package.read(kPackageHeaderSize);
    const std::optional<QString> model = PackageModelFromHeader(header);
    if (!model)
        return false;
    modelName = *model;
    return true;
}
