#pragma once

class QPainter;
class QRect;
class TabCtrl;
class TabItem;

// Paints the parts of a tab strip. The control calls it with tabs clipped to the
// area where tabs are placed: the unselected ones first, the selected one last.
class TabCtrlDraw {
public:
    virtual ~TabCtrlDraw() = default;

    virtual void DrawTabsArea(const TabCtrl* ctrl, QPainter* painter, const QRect& rect) = 0;
    virtual void DrawTab(const TabCtrl* ctrl, QPainter* painter, const TabItem* tab) = 0;
    virtual void DrawWindowsArea(const TabCtrl* ctrl, QPainter* painter, const QRect& rect) = 0;
};
