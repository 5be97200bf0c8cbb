#pragma once
#include <QString>

// The general message list of the prompt window.
class IPromptList {
public:
    virtual ~IPromptList() = default;

    // Appends a row with the current time, the text and the icon of the level
    // (0 information, 1 success, any other value error), and scrolls it into view.
    virtual void AddMessage(const QString& text, int level) = 0;
};
