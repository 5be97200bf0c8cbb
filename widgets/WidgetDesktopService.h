#pragma once
#include "config/DesktopService.h"

// The file helpers' way to the windows: the program's file dialog, the top-level
// windows of this process, and the desktop's default application for a file.
class WidgetDesktopService : public DesktopService {
public:
    std::optional<FileChoice> chooseFile(FileDialogKind kind, const QString& filter) override;
    bool bringWindowForward(const QString& title) override;
    bool openDocument(const QString& path) override;
};
