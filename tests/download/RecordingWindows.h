#pragma once
#include "download/relays/ICellGrid.h"
#include "download/relays/ICellPages.h"
#include "download/relays/ICommonSettingsPage.h"
#include "download/relays/IConfigDialog.h"
#include "download/relays/IMainFrame.h"
#include "download/relays/IMainFrameCommands.h"
#include "download/relays/IProgressWindow.h"
#include "download/relays/IPromptList.h"
#include "download/relays/ISettingsView.h"

#include <QStringList>

#include <thread>

// Every window the controller talks to, in one object that writes each call into
// one journal ("ShowCellStatus(2, 1)"), so a test sees what reached the windows
// and in which order. Cell lines carry their colour type. A call that arrives on
// another thread than the one that made the object is counted, not journalled.
class RecordingWindows : public IMainFrame,
                               public IMainFrameCommands,
                               public IPromptList,
                               public ICellPages,
                               public ICellGrid,
                               public IProgressWindow,
                               public ISettingsView,
                               public ICommonSettingsPage,
                               public IConfigDialog {
public:
    RecordingWindows();

    QStringList journal;
    int callsFromOtherThreads = 0;
    bool configDialogOpen = false;
    // Stop runs the controller's OnStopPressed, as the real Stop command does.
    bool stopRunsController = true;

    // Journal entries whose call has this name, e.g. "AddMessage".
    QStringList calls(const QString& name) const;
    // The text of every AddMessage, in order.
    QStringList messages() const;
    // The text of every line sent to the cell with this colour type (any type for -1).
    QStringList cellLines(int cell, int colourType = -1) const;

    IMainFrameCommands* commands() override { return this; }
    IPromptList* promptList() override { return this; }
    ICellPages* cellPages() override { return this; }
    ICellGrid* cellGrid() override { return this; }
    IProgressWindow* progressWindow() override { return this; }
    ISettingsView* settingsView() override { return this; }
    ICommonSettingsPage* commonSettingsPage() override { return this; }
    IConfigDialog* configDialogIfOpen() override { return configDialogOpen ? this : nullptr; }

    void SetCommandsEnabled(bool enabled) override;
    void SetFrameCommands(bool enabled) override;
    void SetStopEnabled(bool enabled) override;
    void PressStop() override;
    void AddRecentPackage(const QString& text, int kind) override;
    void AddMessage(const QString& text, int level) override;
    void AppendCellMessage(int cell, const QString& text, RgbColour colour) override;
    void ShowPage(int cell) override;
    void ClearCellPage(int cell) override;
    void WriteRecords(int cell, const QString& modelName, bool passed) override;
    void ShowCellStatus(int cell, int status) override;
    void ShowCellState(int cell, int state) override;
    void ShowCellProgress(int cell, int percent, int state, int force) override;
    void SelectPage(int index) override;
    bool SetRowValue(int row, const QString& text) override;
    void EnableConfigOk(bool enabled) override;
    void SetConfigEnabled(bool enabled) override;
    void ConfigMessage(const QString& text, int level) override;
    void CloseConfig() override;

private:
    template <typename... Arguments>
    void note(const char* name, const Arguments&... arguments);

    std::thread::id m_thread;
};
