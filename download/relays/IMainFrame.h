#pragma once

class ICellGrid;
class ICellPages;
class ICommonSettingsPage;
class IConfigDialog;
class IMainFrameCommands;
class IProgressWindow;
class IPromptList;
class ISettingsView;

// How the controller finds the windows: the main frame hands out its panes. A
// pane that does not exist (yet) is nullptr, and the controller's relays to it do
// nothing. The panes live as long as the frame; the configuration dialog only
// while it is open, so it is asked for at every use.
class IMainFrame {
public:
    virtual ~IMainFrame() = default;

    virtual IMainFrameCommands* commands() = 0;
    virtual IPromptList* promptList() = 0;
    virtual ICellPages* cellPages() = 0;
    virtual ICellGrid* cellGrid() = 0;
    virtual IProgressWindow* progressWindow() = 0;
    virtual ISettingsView* settingsView() = 0;
    virtual ICommonSettingsPage* commonSettingsPage() = 0;
    virtual IConfigDialog* configDialogIfOpen() = 0;
};
