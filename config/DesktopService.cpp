#include "config/DesktopService.h"

namespace {

DesktopService* g_installed = nullptr;

} // namespace

void DesktopService::install(DesktopService* service)
{
    g_installed = service;
}

DesktopService* DesktopService::installed()
{
    return g_installed;
}
