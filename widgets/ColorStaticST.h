#pragma once
#include <QColor>
#include <QLabel>
#include <QPointer>
#include <QTimer>

// A static text with its own text and background colours, either of which can
// blink between two colours; the owner can be told on every "on" phase.
class CColorStaticST : public QLabel {
    Q_OBJECT

public:
    static constexpr int DefaultNotifyMessage = 1024; // WM_USER
    static constexpr int DefaultBlinkPeriodMs = 500;

    explicit CColorStaticST(QWidget* parent = nullptr);

    // An invalid colour stands for the default: button text, button face.
    void SetTextColor(const QColor& colour);
    void SetBkColor(const QColor& colour);
    QColor GetTextColor() const;
    QColor GetBkColor() const;

    // The first colour shows in the "off" phase, the second in the "on" phase.
    void SetBlinkTextColors(const QColor& off, const QColor& on);
    void SetBlinkBkColors(const QColor& off, const QColor& on);
    void StartTextBlink(bool start, int periodMs = DefaultBlinkPeriodMs);
    void StartBkBlink(bool start, int periodMs = DefaultBlinkPeriodMs);

    // Posts a ControlNotifyEvent of type message to the receiver on each "on" phase.
    void EnableNotify(QObject* receiver, int message = DefaultNotifyMessage);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Blink {
        QColor colours[2];
        bool active = false;
        bool on = false;
    };

    void StartBlink(Blink& blink, bool start, int periodMs);
    void Tick();
    QColor CurrentTextColor() const;
    QColor CurrentBkColor() const;

    QColor m_textColour;
    QColor m_bkColour;
    Blink m_textBlink;
    Blink m_bkBlink;
    QTimer m_blinkTimer;
    QPointer<QObject> m_notifyReceiver;
    int m_notifyMessage = DefaultNotifyMessage;
};
