#pragma once
#include <QString>

#include <optional>

// What the file helpers need from the windows: a file dialog, finding an open
// window by its title, and opening a document with its own application. The
// window layer installs one at start-up; until then the helpers that need it
// report failure. Used on the user-interface thread only.
class DesktopService {
public:
    enum class FileDialogKind { Open, Save };

    struct FileChoice {
        QString path;
        int filterIndex = 1; // 1-based position of the filter the dialog ended on
    };

    virtual ~DesktopService() = default;

    // The file the operator confirmed in a modal dialog, or nothing when cancelled.
    // The filter is written as name|pattern pairs ending in "||".
    virtual std::optional<FileChoice> chooseFile(FileDialogKind kind, const QString& filter) = 0;
    // Shows and raises the top-level window titled exactly so; false when there is none.
    virtual bool bringWindowForward(const QString& title) = 0;
    virtual bool openDocument(const QString& path) = 0;

    static void install(DesktopService* service);
    static DesktopService* installed();
};
