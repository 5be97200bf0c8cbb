#pragma once
#include <QPoint>
#include <QRect>
#include <QString>

class TabCtrl;

// The tab strip's tooltip window.
class ITabCtrlToolTip {
public:
    virtual ~ITabCtrlToolTip() = default;

    // Shows the text near a point on the screen while the mouse stays in the
    // tool's rectangle (control coordinates).
    virtual void ShowToolTip(TabCtrl* ctrl, QPoint globalPos, const QString& text, const QRect& toolRect) = 0;
    virtual void HideToolTip(TabCtrl* ctrl) = 0;
};
