#include "widgets/tabctrl/TabCtrlLayout.h"

#include <cmath>

namespace {

QRect tabRect(const QRect& area, int slotLeft, int slotWidth, const QMargins& margin)
{
    const int width = qMax(0, slotWidth - margin.left() - margin.right());
    return QRect(slotLeft + margin.left(), area.top(), width, area.height());
}

} // namespace

QList<QRect> TabCtrlLayout::Scroll(const QRect& area, const QList<int>& widths, const QMargins& margin)
{
    QList<QRect> rects;
    int left = area.left();
    for (int width : widths) {
        const int slot = width + margin.left() + margin.right();
        rects.append(tabRect(area, left, slot, margin));
        left += slot;
    }
    return rects;
}

QList<QRect> TabCtrlLayout::Squeeze(const QRect& area, const QList<int>& widths, const QMargins& margin, int minWidth)
{
    const int margins = margin.left() + margin.right();
    qint64 total = 0;
    for (int width : widths)
        total += width + margins;
    if (widths.isEmpty() || total <= area.width())
        return Scroll(area, widths, margin);

    const double share = double(area.width()) / widths.size();
    double totalExcess = 0;
    for (int width : widths)
        totalExcess += qMax(0.0, width + margins - share);
    const double shortfall = double(total - area.width());

    QList<QRect> rects;
    int left = area.left();
    for (qsizetype i = 0; i < widths.size(); ++i) {
        int slot = widths[i] + margins;
        if (i == widths.size() - 1) {
            slot = qMax(0, area.left() + area.width() - left);
        } else if (slot > share) {
            const int cut = int(std::lround(shortfall * (slot - share) / totalExcess));
            slot = qMax(slot - cut, minWidth + margins);
        }
        rects.append(tabRect(area, left, slot, margin));
        left += slot;
    }
    return rects;
}
