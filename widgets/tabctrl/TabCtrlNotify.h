#pragma once
#include <QPoint>
#include <QString>

class QWidget;
class TabCtrl;
class TabItem;

// The tab strip's event listener. Every event does nothing unless a listener
// overrides it.
class TabCtrlNotify {
public:
    virtual ~TabCtrlNotify() = default;

    virtual void OnTabPreCreate(TabCtrl* /*ctrl*/, QWidget* /*window*/, const QString& /*text*/, int /*image*/) {}
    virtual void OnTabPostCreate(TabCtrl* /*ctrl*/, TabItem* /*tab*/) {}
    virtual void OnTabSelected(TabCtrl* /*ctrl*/, TabItem* /*tab*/) {}
    virtual void OnLButtonDown(TabCtrl* /*ctrl*/, TabItem* /*tab*/, QPoint /*point*/) {}
    virtual void OnLButtonDblClk(TabCtrl* /*ctrl*/, TabItem* /*tab*/, QPoint /*point*/) {}
    // The tab is none when the button went down or up outside every tab.
    virtual void OnRButtonDown(TabCtrl* /*ctrl*/, TabItem* /*tab*/, QPoint /*point*/) {}
    virtual void OnRButtonUp(TabCtrl* /*ctrl*/, TabItem* /*tab*/, QPoint /*point*/) {}
};
