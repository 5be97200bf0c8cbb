#include "widgets/CustomFont.h"

#include <QFontMetrics>
#include <QGuiApplication>

#include <cmath>

void CCustomFont::CreateFont(const QString& face, int height, int weight)
{
    QFont font(face);
    font.setStyleHint(QFont::SansSerif);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    font.setWeight(weight <= 0 ? QFont::Normal : QFont::Weight(qBound(100, weight, 900)));
    if (height < 0) {
        font.setPixelSize(-height);
    } else if (height > 0) {
        // Scale the character height so that ascent and descent together fill the cell.
        font.setPixelSize(height);
        const int cell = QFontMetrics(font).height();
        if (cell > 0)
            font.setPixelSize(qMax(1, int(std::lround(double(height) * height / cell))));
    }
    m_font = font;
}

QFont CCustomFont::GetFont() const
{
    return m_font.value_or(QGuiApplication::font());
}
