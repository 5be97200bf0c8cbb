#pragma once
#include "platform/MessageBox.h"

#include <QStringList>

// Answers every message box with OK and keeps its text, so nothing blocks a test;
// the handler it replaced comes back when the recorder goes.
class MessageBoxRecorder {
public:
    MessageBoxRecorder();
    ~MessageBoxRecorder();

    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    const QStringList& texts() const { return m_texts; }
    void clear() { m_texts.clear(); }

private:
    QStringList m_texts;
    Platform::MessageBoxHandler m_previous;
};
