#pragma once
#include <QByteArrayView>
#include <QString>

#include <optional>

// The first 64 bytes of a VKB package name the phone model it is built for.
constexpr int kPackageHeaderSize = 64;

// The header version its magic gives (13 to 18), or nothing when unrecognised.
std::optional<int> PackageHeaderVersion(QByteArrayView header);

// The model name of a whole 64-byte header, or nothing when it is not recognised.
std::optional<QString> PackageModelFromHeader(QByteArrayView header);

// Reads the model name from the package at path. On success the name is
// replaced and the result is true; on any failure it is left as it was.
bool ReadPackageModel(const QString& path, QString& modelName);
