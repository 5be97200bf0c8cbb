#pragma once
#include "widgets/tabctrl/ITabCtrlBehavior.h"
#include "widgets/tabctrl/ITabCtrlRecalc.h"
#include "widgets/tabctrl/ITabCtrlToolTip.h"
#include "widgets/tabctrl/TabCtrl.h"

// The tab strip's own metrics, hit-testing and tooltip window, used where a
// style supplies none and passed to the style as the base it may defer to.
class TabCtrl::Service : public ITabCtrlRecalc, public ITabCtrlBehavior, public ITabCtrlToolTip {
public:
    int GetBorderWidth(const TabCtrl* ctrl, ITabCtrlRecalc* base) override;
    QMargins GetTabsAreaPadding(const TabCtrl* ctrl, ITabCtrlRecalc* base) override;
    QMargins GetWindowsAreaPadding(const TabCtrl* ctrl, ITabCtrlRecalc* base) override;
    QMargins GetTabHorzMargin(const TabCtrl* ctrl, ITabCtrlRecalc* base) override;
    QMargins GetTabPadding(const TabCtrl* ctrl, ITabCtrlRecalc* base) override;
    int GetTabImageTextGap(const TabCtrl* ctrl, ITabCtrlRecalc* base) override;
    int GetTabExtraWidth(const TabCtrl* ctrl, ITabCtrlRecalc* base) override;
    // The tab padding of the control's metrics with the narrower image between.
    int GetTabMinWidth(const TabCtrl* ctrl, ITabCtrlRecalc* base) override;

    TabItem* GetTabUnderPoint(const TabCtrl* ctrl, QPoint point) override;

    void ShowToolTip(TabCtrl* ctrl, QPoint globalPos, const QString& text, const QRect& toolRect) override;
    void HideToolTip(TabCtrl* ctrl) override;
};
