#include "tests/support/MessageBoxRecorder.h"

MessageBoxRecorder::MessageBoxRecorder()
    : m_previous(Platform::setMessageBoxHandler([this](const QString& text, const QString&, int) {
        m_texts << text;
        return int(Platform::IDOK);
    }))
{
}

MessageBoxRecorder::~MessageBoxRecorder()
{
    Platform::setMessageBoxHandler(m_previous);
}
