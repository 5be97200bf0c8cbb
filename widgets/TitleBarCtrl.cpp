#include "widgets/TitleBarCtrl.h"

#include <QLinearGradient>
#include <QPainter>
#include <QWidget>

void CTitleBarCtrl::DrawTitle(QPainter& painter, const QWidget& window, const QString& text, int height,
    Qt::Alignment format, const QColor& textColour) const
{
    const QRect strip(0, 0, window.width(), height);
    const QPalette& palette = window.palette();
    painter.save();
    painter.fillRect(strip, palette.color(QPalette::Window));
    painter.setPen(palette.color(QPalette::Light));
    painter.drawLine(strip.topLeft(), strip.topRight());
    painter.drawLine(strip.topLeft(), strip.bottomLeft());
    painter.setPen(palette.color(QPalette::Dark));
    painter.drawLine(strip.bottomLeft(), strip.bottomRight());
    painter.drawLine(strip.topRight(), strip.bottomRight());
    painter.restore();
    DrawText(painter, window, strip, format, textColour, text);
}

void CTitleBarCtrl::DrawGradientTitle(QPainter& painter, const QWidget& window, const QString& text,
    const QRect& rect, Qt::Alignment format, const QColor& leftColour, const QColor& rightColour) const
{
    QLinearGradient gradient(rect.left(), 0, rect.right() + 1, 0);
    gradient.setColorAt(0, leftColour);
    gradient.setColorAt(1, rightColour);
    painter.fillRect(rect, gradient);
    DrawText(painter, window, rect.adjusted(3, 0, 0, 0), format, window.palette().color(QPalette::Light), text);
}

void CTitleBarCtrl::DrawText(QPainter& painter, const QWidget& window, const QRect& rect, Qt::Alignment format,
    const QColor& colour, const QString& text) const
{
    painter.save();
    painter.setFont(m_font.value_or(window.font()));
    painter.setPen(colour);
    painter.drawText(rect, int(format), text);
    painter.restore();
}
