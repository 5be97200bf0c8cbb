#pragma once
#include <QPoint>

class TabCtrl;
class TabItem;

// How the tab strip answers the mouse.
class ITabCtrlBehavior {
public:
    virtual ~ITabCtrlBehavior() = default;

    // The tab under a point of the control, or none.
    virtual TabItem* GetTabUnderPoint(const TabCtrl* ctrl, QPoint point) = 0;
};
