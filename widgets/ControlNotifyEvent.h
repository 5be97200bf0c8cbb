#pragma once
#include <QEvent>
#include <QWidget>

// A control's notification to its owner, posted as an event whose type is the
// message number; it carries the control's identifier (objectName "id<number>").
class ControlNotifyEvent : public QEvent {
public:
    ControlNotifyEvent(int message, int controlId)
        : QEvent(QEvent::Type(message))
        , m_controlId(controlId)
    {
    }

    int ControlId() const { return m_controlId; }

    // The identifier a control was given, 0 when it has none.
    static int IdOf(const QWidget* control)
    {
        const QString name = control->objectName();
        return name.startsWith(QLatin1String("id")) ? name.mid(2).toInt() : 0;
    }

private:
    int m_controlId;
};
