#pragma once

class ITabCtrlBehavior;
class ITabCtrlRecalc;
class ITabCtrlToolTip;
class TabCtrlDraw;

// A look of the tab strip: the managers that paint it, measure it, hit-test it
// and show its tooltips. A style that returns none for behaviour or tooltips gets
// the control's defaults.
class ITabCtrlStyle {
public:
    virtual ~ITabCtrlStyle() = default;

    virtual TabCtrlDraw* GetDrawManager() = 0;
    virtual ITabCtrlRecalc* GetRecalcManager() = 0;
    virtual ITabCtrlBehavior* GetBehaviorManager() = 0;
    virtual ITabCtrlToolTip* GetToolTipManager() = 0;
};
