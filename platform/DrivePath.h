#pragma once
#include <QString>

namespace Platform {

// Maps a Windows path such as "E:\TestRecord" to this machine: drive X: is the
// folder named by the environment variable ZARV_DRIVE_X, else /mnt/x; the rest of
// the path follows with '/' for '\'. A path without a drive letter only has its
// separators turned.
QString drivePath(const QString& windowsPath);

} // namespace Platform
