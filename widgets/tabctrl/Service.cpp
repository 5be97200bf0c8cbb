#include "widgets/tabctrl/Service.h"

#include "widgets/tabctrl/TabItem.h"

#include <QToolTip>

int TabCtrl::Service::GetBorderWidth(const TabCtrl*, ITabCtrlRecalc*)
{
    return 1;
}

QMargins TabCtrl::Service::GetTabsAreaPadding(const TabCtrl*, ITabCtrlRecalc*)
{
    return QMargins(3, 1, 3, 2);
}

QMargins TabCtrl::Service::GetWindowsAreaPadding(const TabCtrl*, ITabCtrlRecalc*)
{
    return QMargins(0, 0, 0, 0);
}

QMargins TabCtrl::Service::GetTabHorzMargin(const TabCtrl*, ITabCtrlRecalc*)
{
    return QMargins(0, 0, 0, 0);
}

QMargins TabCtrl::Service::GetTabPadding(const TabCtrl*, ITabCtrlRecalc*)
{
    return QMargins(5, 3, 5, 3);
}

int TabCtrl::Service::GetTabImageTextGap(const TabCtrl*, ITabCtrlRecalc*)
{
    return 3;
}

int TabCtrl::Service::GetTabExtraWidth(const TabCtrl*, ITabCtrlRecalc*)
{
    return 0;
}

int TabCtrl::Service::GetTabMinWidth(const TabCtrl* ctrl, ITabCtrlRecalc*)
{
    const QMargins padding = ctrl->GetTabPadding();
    const CImageList* normal = ctrl->GetImageList();
    const CImageList* disabled = ctrl->GetImageListDisabled();
    const int normalWidth = normal ? normal->GetImageSize().width() : 0;
    const int disabledWidth = disabled ? disabled->GetImageSize().width() : 0;
    return padding.left() + qMin(normalWidth, disabledWidth) + padding.right();
}

TabItem* TabCtrl::Service::GetTabUnderPoint(const TabCtrl* ctrl, QPoint point)
{
    if (!ctrl->GetTabsPlacementArea().contains(point))
        return nullptr;
    for (int i = 0; i < ctrl->GetCount(); ++i) {
        TabItem* tab = ctrl->GetTab(i);
        if (tab->GetRect().contains(point))
            return tab;
    }
    return nullptr;
}

void TabCtrl::Service::ShowToolTip(TabCtrl* ctrl, QPoint globalPos, const QString& text, const QRect& toolRect)
{
    QToolTip::showText(globalPos, text, ctrl, toolRect);
}

void TabCtrl::Service::HideToolTip(TabCtrl*)
{
    QToolTip::hideText();
}
