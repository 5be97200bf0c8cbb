#pragma once
#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

#include <optional>

class QPainter;
class QWidget;

// Paints a caption strip at the top of a window, from the window's paint event.
class CTitleBarCtrl {
public:
    void SetFont(const QFont& font) { m_font = font; }

    // A strip of the given height across the top of the window, in the menu-bar
    // colour with a raised edge, and the text on it in the colour and alignment.
    void DrawTitle(QPainter& painter, const QWidget& window, const QString& text, int height,
        Qt::Alignment format, const QColor& textColour) const;
    // The rectangle filled from the left colour to the right colour, the text
    // 3 px from its left edge in the button-highlight colour.
    void DrawGradientTitle(QPainter& painter, const QWidget& window, const QString& text, const QRect& rect,
        Qt::Alignment format, const QColor& leftColour, const QColor& rightColour) const;

private:
    void DrawText(QPainter& painter, const QWidget& window, const QRect& rect, Qt::Alignment format,
        const QColor& colour, const QString& text) const;

    std::optional<QFont> m_font;
};
