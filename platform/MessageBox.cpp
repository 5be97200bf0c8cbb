#include "platform/MessageBox.h"

#include <QMutex>
#include <QMutexLocker>

#include <cstdio>

namespace Platform {
namespace {

QMutex handlerMutex;
MessageBoxHandler installedHandler;

int declinedAnswer(int buttons)
{
    switch (buttons) {
    case MB_OKCANCEL: return IDCANCEL;
    case MB_YESNO: return IDNO;
    default: return IDOK;
    }
}

} // namespace

int messageBox(const QString& text, const QString& caption, int buttons)
{
    MessageBoxHandler handler;
    {
        QMutexLocker locker(&handlerMutex);
        handler = installedHandler;
    }
    if (handler)
        return handler(text, caption, buttons);
    std::fprintf(stderr, "%s%s%s\n", qPrintable(caption), caption.isEmpty() ? "" : ": ", qPrintable(text));
    return declinedAnswer(buttons);
}

MessageBoxHandler setMessageBoxHandler(MessageBoxHandler handler)
{
    QMutexLocker locker(&handlerMutex);
    std::swap(installedHandler, handler);
    return handler;
}

} // namespace Platform
