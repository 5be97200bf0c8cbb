#pragma once
#include <QList>
#include <QMargins>
#include <QRect>

// Places tabs side by side in the area of the strip where tabs go. Each tab's
// slot is its width plus the horizontal margins; the tab's rectangle is the slot
// less the margins, spanning the area's height.
class TabCtrlLayout {
public:
    // Natural widths from the area's left; tabs past the right edge are clipped.
    static QList<QRect> Scroll(const QRect& area, const QList<int>& widths, const QMargins& margin);

    // Natural widths when they fit; otherwise every tab wider than the average
    // share gives up part of its excess, in proportion to it and rounded, never
    // below the minimum width, and the last tab takes what is left.
    static QList<QRect> Squeeze(const QRect& area, const QList<int>& widths, const QMargins& margin, int minWidth);
};
