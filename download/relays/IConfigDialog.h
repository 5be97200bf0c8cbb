#pragma once
#include <QString>

// The configuration dialog, while it is open.
class IConfigDialog {
public:
    virtual ~IConfigDialog() = default;

    virtual void EnableConfigOk(bool enabled) = 0;
    // Enables or disables its controls; disabling shows its busy box, enabling closes it.
    virtual void SetConfigEnabled(bool enabled) = 0;
    // Shows a line with its level on the dialog's message display.
    virtual void ConfigMessage(const QString& text, int level) = 0;
    // Asks the dialog to close.
    virtual void CloseConfig() = 0;
};
