#pragma once
#include <QString>

#include <functional>

namespace Platform {

// The modal message box. The window layer installs a handler that shows a real
// dialog; tests install a recorder so that nothing blocks. Without a handler the
// text goes to standard error and the box answers as if the operator declined.
enum MessageBoxButtons { MB_OK = 0, MB_OKCANCEL = 1, MB_YESNO = 4 };
enum MessageBoxAnswer { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

using MessageBoxHandler = std::function<int(const QString& text, const QString& caption, int buttons)>;

int messageBox(const QString& text, const QString& caption = QString(), int buttons = MB_OK);

// Returns the handler it replaces, so a test can put it back.
MessageBoxHandler setMessageBoxHandler(MessageBoxHandler handler);

} // namespace Platform
