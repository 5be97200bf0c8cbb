#pragma once
#include "config/PublicFunction.h"
#include "download/DownloadOptions.h"
#include "download/EngineEventHandler.h"
#include "platform/NamedLock.h"

#include <QDateTime>
#include <QString>

#include <array>
#include <atomic>
#include <memory>
#include <thread>

class ICellGrid;
class ICellPages;
class ICommonSettingsPage;
class IConfigDialog;
class IMainFrame;
class IMainFrameCommands;
class IProgressWindow;
class IPromptList;
class ISettingsView;

// The one owner of the download state: the session's package, image, model, role
// and options, the verified and one-shot flags, the eight cells, and the workers
// that call into the engine. It is also the only way the logic reaches the
// windows: every relay goes to a pane the main frame hands out and does nothing
// while that pane is not there.
class DownloadController {
public:
    static constexpr int kCellCount = 8;

    // The process's controller, created on first use (on the user-interface thread).
    static DownloadController& Instance();
    // The controller if it exists, else nullptr.
    static DownloadController* Existing();
    // Window close: releases and unloads the engine, then destroys the controller.
    static void ReleaseEngine();
    // The main frame registers itself at creation and deregisters (nullptr) when it goes.
    static void SetMainFrame(IMainFrame* frame);

    DownloadController(const DownloadController&) = delete;
    DownloadController& operator=(const DownloadController&) = delete;

    // Session. mode 0 verifies only; 1 downloads as soon as the package is verified.
    int StartSession(int mode);
    void OnStartPressed();
    void OnStopPressed();
    void SetOptions(const DownloadOptions& options);
    int Mode() const { return m_mode; }
    bool BindWindows();

    // Relays to the windows.
    void LogMessage(const QString& text, int level);
    void WriteCellRecords(int cell, bool passed);
    void ClearCell(int cell);
    void ShowCellPage(int cell);
    void AddRecentPackage(const QString& text, int kind);
    void SetCommonInfo(const QString& text2, const QString& text3);
    void EnableConfigOk(bool enabled);
    void SetConfigEnabled(bool enabled);
    void CloseConfig();
    void ConfigMessage(const QString& text, int level);
    void SetCommandsEnabled(bool enabled);
    void SetFrameCommands(bool enabled);
    void SetStopEnabled(bool enabled);
    void PressStop();

    // Per-cell state, driven by the engine's reports.
    void CellMessage(int cell, const QString& text, int colourType);
    void SetCellRunState(int cell, int state);
    void UpdateCellProgress(int cell, int percent, int state, int force);
    int CellProgress(int cell) const;
    void SetCellLink(int cell, int link);
    void CellTiming(int cell, int state);
    void VerificationReported(int status, int kind, const QString& text);

    bool isVerified() const { return m_verified.load(); }
    bool isOneShot() const { return m_oneShot; }
    int role() const { return m_role; }
    const QString& packagePath() const { return m_packagePath; }
    const QString& imagePath() const { return m_imagePath; }
    const QString& modelName() const { return m_modelName; }
    const DownloadOptions& options() const { return m_options; }
    int cellRunState(int cell) const;
    int cellLinkState(int cell) const;

private:
    struct Windows {
        IMainFrameCommands* commands = nullptr;
        IPromptList* promptList = nullptr;
        ICellPages* cellPages = nullptr;
        ICellGrid* cellGrid = nullptr;
        IProgressWindow* progressWindow = nullptr;
        ISettingsView* settingsView = nullptr;
        ICommonSettingsPage* commonSettingsPage = nullptr;
    };

    DownloadController();
    ~DownloadController();
    friend struct std::default_delete<DownloadController>;

    template <typename Window>
    Window* bound(Window* Windows::*pane);
    IConfigDialog* configDialog() const;
    void forgetWindows();
    void readSessionPaths();
    void StartVerificationWorker();
    void StartDownloadWorker();
    void EnterDownloadMode();
    bool isUserInterfaceThread() const;
    template <typename Work>
    void onUserInterfaceThread(Work&& work);

    const std::thread::id m_userInterfaceThread;
    EngineEventHandler m_handler; // also the context of work handed to the user-interface thread
    NamedLock m_mutex;
    Windows m_windows;

    CPublicFunction m_utilities;
    QString m_programDirectory;
    int m_mode = 0;
    int m_role = 1;
    QString m_packagePath;
    QString m_imagePath;
    QString m_modelName;
    DownloadOptions m_options;
    bool m_oneShot = true;
    std::atomic<bool> m_verified{false};

    std::array<int, kCellCount> m_runState{};
    std::array<int, kCellCount> m_linkState{};
    std::array<int, kCellCount> m_progress{};
    std::array<QDateTime, kCellCount> m_startTime{};
};
