#include "widgets/XButtonXP.h"

#include "widgets/ResourceImage.h"
#include "widgets/SystemColors.h"
#include "widgets/XThemeHelper.h"

#include <QKeyEvent>
#include <QPainter>

namespace {

bool isClickKey(int key)
{
    return key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter;
}

constexpr int kFocusInset = 3;

void drawRing(QPainter& painter, const QRect& r, const QColor& topLeft, const QColor& bottomRight)
{
    painter.setPen(topLeft);
    painter.drawLine(r.left(), r.bottom() - 1, r.left(), r.top());
    painter.drawLine(r.left(), r.top(), r.right() - 1, r.top());
    painter.setPen(bottomRight);
    painter.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    painter.drawLine(r.right(), r.bottom(), r.right(), r.top());
}

// The two-pixel classic edge: raised lit from the top left, sunken the other way.
void drawEdge(QPainter& painter, const QRect& r, const QPalette& colours, bool sunken)
{
    const QRect inner = r.adjusted(1, 1, -1, -1);
    using C = SystemColors;
    if (sunken) {
        drawRing(painter, r, C::ButtonShadow(colours), C::ButtonHighlight(colours));
        drawRing(painter, inner, C::ThreeDDarkShadow(colours), C::ThreeDLight(colours));
    } else {
        drawRing(painter, r, C::ThreeDLight(colours), C::ThreeDDarkShadow(colours));
        drawRing(painter, inner, C::ButtonHighlight(colours), C::ButtonShadow(colours));
    }
}

} // namespace

CXButtonXP::CXButtonXP(QWidget* parent)
    : COddButton(parent)
{
}

CXButtonXP& CXButtonXP::SetIcon(int iconId, int placement)
{
    return SetIcon(ResourceImage::Icon(iconId), placement);
}

CXButtonXP& CXButtonXP::SetIcon(const QPixmap& icon, int placement)
{
    m_icon = icon;
    m_grayIcon = GrayedCopy(icon);
    m_placement = placement == IconRight ? IconRight : IconLeft;
    repaint();
    return *this;
}

CXButtonXP& CXButtonXP::SetToggle(bool on)
{
    setCheckable(on);
    repaint();
    return *this;
}

CXButtonXP& CXButtonXP::SetTheme(bool on)
{
    m_useTheme = on;
    repaint();
    return *this;
}

CXButtonXP& CXButtonXP::SetToolbarStyle(bool on)
{
    m_toolbarStyle = on;
    repaint();
    return *this;
}

bool CXButtonXP::IsThemed() const
{
    return m_useTheme && CXThemeHelper::Instance().IsThemeActive();
}

QPixmap CXButtonXP::GrayedCopy(const QPixmap& icon)
{
    if (icon.isNull())
        return icon;
    QImage image = icon.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = line[x];
            if (qAlpha(pixel) == 0)
                continue;
            const int grey = (pixel & 0xFFFFFF) == 0xFFFFFF ? 254 : (qRed(pixel) + qGreen(pixel) + qBlue(pixel)) / 3;
            line[x] = qRgba(grey, grey, grey, qAlpha(pixel));
        }
    }
    return QPixmap::fromImage(image);
}

bool CXButtonXP::LooksPressed() const
{
    return isCheckable() ? isChecked() : isDown();
}

// Classic painting only: CXThemeHelper never reports a visual style here.
void CXButtonXP::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const bool pressed = LooksPressed();
    PaintFrame(painter, pressed);
    const QPoint offset = pressed ? QPoint(1, 1) : QPoint(0, 0);
    const QRect textArea = PaintIcon(painter, offset);
    if (!text().isEmpty())
        PaintText(painter, textArea.translated(offset));
    if (hasFocus())
        PaintFocus(painter);
}

void CXButtonXP::PaintFrame(QPainter& painter, bool pressed) const
{
    QRect edge = rect();
    painter.fillRect(edge.adjusted(1, 1, -1, -1), SystemColors::ButtonFace(palette()));
    if (hasFocus() || IsDefault()) {
        painter.setPen(Qt::black);
        painter.drawRect(edge.adjusted(0, 0, -1, -1));
        edge.adjust(1, 1, -1, -1);
    }
    if (!m_toolbarStyle)
        drawEdge(painter, edge, palette(), pressed);
}

// Draws the icon and returns the area left for the text.
QRect CXButtonXP::PaintIcon(QPainter& painter, QPoint offset) const
{
    QRect textArea = rect();
    if (m_icon.isNull())
        return textArea;
    const int iconWidth = m_icon.width();
    int x = (width() - iconWidth) / 2;
    if (!text().isEmpty() && m_placement == IconLeft) {
        x = iconWidth / 2;
        textArea.setLeft(2 * iconWidth);
    } else if (!text().isEmpty()) {
        x = width() - iconWidth - iconWidth / 2;
        textArea.setRight(x - 1);
    }
    const int y = (height() - m_icon.height()) / 2;
    painter.drawPixmap(QPoint(x, y) + offset, isEnabled() ? m_icon : m_grayIcon);
    return textArea;
}

void CXButtonXP::PaintText(QPainter& painter, QRect area) const
{
    const int flags = Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic;
    painter.setFont(font());
    if (!isEnabled()) {
        painter.setPen(SystemColors::ButtonHighlight(palette()));
        painter.drawText(area.translated(1, 1), flags, text());
        painter.setPen(SystemColors::ButtonShadow(palette()));
    } else {
        painter.setPen(SystemColors::ButtonText(palette()));
    }
    painter.drawText(area, flags, text());
}

void CXButtonXP::PaintFocus(QPainter& painter) const
{
    QPen dotted(SystemColors::ButtonText(palette()), 0);
    dotted.setDashPattern({1, 1});
    painter.setPen(dotted);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(kFocusInset, kFocusInset, -kFocusInset - 1, -kFocusInset - 1));
}

// Space and Enter act as one left click, given when the key comes back up.
void CXButtonXP::keyPressEvent(QKeyEvent* event)
{
    if (!isClickKey(event->key()))
        return COddButton::keyPressEvent(event);
    if (!event->isAutoRepeat() && m_clickKey == 0) {
        m_clickKey = event->key();
        setDown(true);
    }
    event->accept();
}

void CXButtonXP::keyReleaseEvent(QKeyEvent* event)
{
    if (!isClickKey(event->key()))
        return COddButton::keyReleaseEvent(event);
    if (!event->isAutoRepeat() && event->key() == m_clickKey) {
        m_clickKey = 0;
        setDown(false);
        click();
    }
    event->accept();
}

void CXButtonXP::focusOutEvent(QFocusEvent* event)
{
    if (m_clickKey != 0) {
        m_clickKey = 0;
        setDown(false);
    }
    COddButton::focusOutEvent(event);
}
