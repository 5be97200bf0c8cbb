#pragma once
#include "widgets/tabctrl/TabCtrl.h"

// A TabCtrl bound to one style class, which it owns.
template<typename STYLE>
class TabCtrlEx : public TabCtrl {
public:
    explicit TabCtrlEx(QWidget* parent = nullptr)
        : TabCtrl(parent)
    {
        InstallStyle(&m_style);
    }

    // The style goes before the control does.
    ~TabCtrlEx() override { InstallStyle(nullptr); }

    STYLE& GetStyle() { return m_style; }

private:
    STYLE m_style;
};
