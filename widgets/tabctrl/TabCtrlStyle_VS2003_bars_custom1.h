#pragma once
#include "widgets/tabctrl/ITabCtrlRecalc.h"
#include "widgets/tabctrl/ITabCtrlStyle.h"
#include "widgets/tabctrl/TabCtrlDraw.h"

#include <QColor>

class QPalette;

// The system's tab look: flat tabs on a light band, separated by thin bars; the
// selected tab is raised into the windows area, whose edges continue its frame.
// Behaviour and tooltips are the control's defaults.
class TabCtrlStyle_VS2003_bars_custom1 : public ITabCtrlStyle, public TabCtrlDraw, public ITabCtrlRecalc {
public:
    TabCtrlDraw* GetDrawManager() override { return this; }
    ITabCtrlRecalc* GetRecalcManager() override { return this; }
    ITabCtrlBehavior* GetBehaviorManager() override { return nullptr; }
    ITabCtrlToolTip* GetToolTipManager() override { return nullptr; }

    void DrawTabsArea(const TabCtrl* ctrl, QPainter* painter, const QRect& rect) override;
    void DrawTab(const TabCtrl* ctrl, QPainter* painter, const TabItem* tab) override;
    void DrawWindowsArea(const TabCtrl* ctrl, QPainter* painter, const QRect& rect) override;

    int GetBorderWidth(const TabCtrl* ctrl, ITabCtrlRecalc* base) override;
    QMargins GetTabsAreaPadding(const TabCtrl* ctrl, ITabCtrlRecalc* base) override;
    QMargins GetWindowsAreaPadding(const TabCtrl* ctrl, ITabCtrlRecalc* base) override;
    QMargins GetTabHorzMargin(const TabCtrl* ctrl, ITabCtrlRecalc* base) override;
    QMargins GetTabPadding(const TabCtrl* ctrl, ITabCtrlRecalc* base) override;
    int GetTabImageTextGap(const TabCtrl* ctrl, ITabCtrlRecalc* base) override;
    int GetTabExtraWidth(const TabCtrl* ctrl, ITabCtrlRecalc* base) override;
    int GetTabMinWidth(const TabCtrl* ctrl, ITabCtrlRecalc* base) override;

    // Each channel p % of a and (100 - p) % of b, rounded down.
    static QColor MixColors(const QColor& a, const QColor& b, int percent);

private:
    static void DrawSelectedFrame(QPainter* painter, const QRect& rect, const QPalette& colours);
    static void DrawSeparator(QPainter* painter, const QRect& rect, const QMargins& padding, const QPalette& colours);
    static void DrawContent(const TabCtrl* ctrl, QPainter* painter, const TabItem* tab, bool selected);
    static QColor TextColor(const TabItem* tab, bool selected, const QPalette& colours);
};
