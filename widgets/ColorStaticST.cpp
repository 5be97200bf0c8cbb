#include "widgets/ColorStaticST.h"

#include "widgets/ControlNotifyEvent.h"
#include "widgets/SystemColors.h"

#include <QCoreApplication>
#include <QPainter>

CColorStaticST::CColorStaticST(QWidget* parent)
    : QLabel(parent)
{
    const QPalette& colours = palette();
    m_textBlink.colours[0] = SystemColors::ButtonText(colours);
    m_textBlink.colours[1] = SystemColors::ButtonFace(colours);
    m_bkBlink.colours[0] = SystemColors::ButtonFace(colours);
    m_bkBlink.colours[1] = SystemColors::ButtonShadow(colours);
    connect(&m_blinkTimer, &QTimer::timeout, this, &CColorStaticST::Tick);
}

void CColorStaticST::SetTextColor(const QColor& colour)
{
    m_textColour = colour;
    update();
}

void CColorStaticST::SetBkColor(const QColor& colour)
{
    m_bkColour = colour;
    update();
}

QColor CColorStaticST::GetTextColor() const
{
    return m_textColour.isValid() ? m_textColour : SystemColors::ButtonText(palette());
}

QColor CColorStaticST::GetBkColor() const
{
    return m_bkColour.isValid() ? m_bkColour : SystemColors::ButtonFace(palette());
}

void CColorStaticST::SetBlinkTextColors(const QColor& off, const QColor& on)
{
    m_textBlink.colours[0] = off;
    m_textBlink.colours[1] = on;
    update();
}

void CColorStaticST::SetBlinkBkColors(const QColor& off, const QColor& on)
{
    m_bkBlink.colours[0] = off;
    m_bkBlink.colours[1] = on;
    update();
}

void CColorStaticST::StartTextBlink(bool start, int periodMs)
{
    StartBlink(m_textBlink, start, periodMs);
}

void CColorStaticST::StartBkBlink(bool start, int periodMs)
{
    StartBlink(m_bkBlink, start, periodMs);
}

void CColorStaticST::StartBlink(Blink& blink, bool start, int periodMs)
{
    blink.active = start;
    blink.on = false;
    if (start)
        m_blinkTimer.start(periodMs);
    else if (!m_textBlink.active && !m_bkBlink.active)
        m_blinkTimer.stop();
    update();
}

void CColorStaticST::EnableNotify(QObject* receiver, int message)
{
    m_notifyReceiver = receiver;
    m_notifyMessage = message;
}

void CColorStaticST::Tick()
{
    bool phaseOn = false;
    for (Blink* blink : {&m_textBlink, &m_bkBlink}) {
        if (blink->active) {
            blink->on = !blink->on;
            phaseOn = phaseOn || blink->on;
        }
    }
    update();
    if (m_notifyReceiver && phaseOn)
        QCoreApplication::postEvent(m_notifyReceiver, new ControlNotifyEvent(m_notifyMessage, ControlNotifyEvent::IdOf(this)));
}

QColor CColorStaticST::CurrentTextColor() const
{
    return m_textBlink.active ? m_textBlink.colours[m_textBlink.on] : GetTextColor();
}

QColor CColorStaticST::CurrentBkColor() const
{
    return m_bkBlink.active ? m_bkBlink.colours[m_bkBlink.on] : GetBkColor();
}

void CColorStaticST::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), CurrentBkColor());
    painter.setPen(CurrentTextColor());
    painter.setFont(font());
    const int wrap = wordWrap() ? Qt::TextWordWrap : Qt::TextSingleLine;
    painter.drawText(contentsRect(), int(alignment()) | wrap | Qt::TextShowMnemonic, text());
}
