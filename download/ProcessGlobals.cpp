#include "download/ProcessGlobals.h"

#include <QMutex>
#include <QMutexLocker>

#include <atomic>

int32_t g_nUserRole = 4;
int32_t g_nLanguage = 1;

namespace {

QMutex versionMutex;
QString softwareVersion;
std::atomic<bool> commandLineMode{false};

} // namespace

QString SoftwareVersionText()
{
    QMutexLocker locker(&versionMutex);
    return softwareVersion;
}

void SetSoftwareVersionText(const QString& text)
{
    QMutexLocker locker(&versionMutex);
    softwareVersion = text;
}

bool IsCommandLineMode()
{
    return commandLineMode.load();
}

void SetCommandLineMode(bool on)
{
    commandLineMode.store(on);
}
