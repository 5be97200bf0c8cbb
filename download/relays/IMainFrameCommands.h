#pragma once
#include <QString>

// What the main frame offers the controller: the state of its commands and its
// "Last Used:" list.
class IMainFrameCommands {
public:
    virtual ~IMainFrameCommands() = default;

    // Config, Stop, Exit and the close box together, then the busy-box rule.
    virtual void SetCommandsEnabled(bool enabled) = 0;
    // Exit, the close box and Config.
    virtual void SetFrameCommands(bool enabled) = 0;
    virtual void SetStopEnabled(bool enabled) = 0;
    // Marks Stop as the pressed button and runs the Stop command, which calls the
    // controller's OnStopPressed.
    virtual void PressStop() = 0;
    // Inserts the path at the top of the list (kind 0 package, 1 GPS image) and selects it.
    virtual void AddRecentPackage(const QString& text, int kind) = 0;
};
