#pragma once

// The tabbed view holding the common settings and message logger pages.
class ISettingsView {
public:
    virtual ~ISettingsView() = default;

    // 1 selects the message logger tab, any other index the common settings tab.
    virtual void SelectPage(int index) = 0;
};
