#pragma once
#include <QMargins>

class TabCtrl;

// The tab strip's metrics in pixels; margins are left, top, right and bottom
// insets. Each call gets the control's defaults as base, so that a style can keep
// the ones it does not change.
class ITabCtrlRecalc {
public:
    virtual ~ITabCtrlRecalc() = default;

    virtual int GetBorderWidth(const TabCtrl* ctrl, ITabCtrlRecalc* base) = 0;
    virtual QMargins GetTabsAreaPadding(const TabCtrl* ctrl, ITabCtrlRecalc* base) = 0;
    virtual QMargins GetWindowsAreaPadding(const TabCtrl* ctrl, ITabCtrlRecalc* base) = 0;
    virtual QMargins GetTabHorzMargin(const TabCtrl* ctrl, ITabCtrlRecalc* base) = 0;
    virtual QMargins GetTabPadding(const TabCtrl* ctrl, ITabCtrlRecalc* base) = 0;
    virtual int GetTabImageTextGap(const TabCtrl* ctrl, ITabCtrlRecalc* base) = 0;
    virtual int GetTabExtraWidth(const TabCtrl* ctrl, ITabCtrlRecalc* base) = 0;
    virtual int GetTabMinWidth(const TabCtrl* ctrl, ITabCtrlRecalc* base) = 0;
};
