#pragma once
#include "widgets/ImageList.h"

#include <QFont>
#include <QMargins>
#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

class ITabCtrlBehavior;
class ITabCtrlRecalc;
class ITabCtrlStyle;
class ITabCtrlToolTip;
class TabCtrlDraw;
class TabCtrlNotify;
class TabItem;

// A strip of tabs along the top of the control, each hosting a child window;
// the rest of the control, the windows area, shows the selected tab's window.
// Painting, metrics, hit-testing and tooltips come from the managers of a style
// (see TabCtrlEx); what a style leaves out comes from the defaults in Service.
class TabCtrl : public QWidget {
    Q_OBJECT

public:
    class Service;

    enum Behavior { BehaviorSqueeze = 0, BehaviorScroll = 1 };

    explicit TabCtrl(QWidget* parent = nullptr);
    ~TabCtrl() override;

    // Makes the control a child of parent with the identifier as objectName "id<n>".
    bool Create(QWidget* parent, bool visible, const QRect& rect, int id);

    // Copies the lists; an absent list has image size 0 x 0. False when a list's
    // image size cannot be read.
    bool SetImageLists(const CImageList* normal, const CImageList* disabled);
    void SetFontNormal(const QFont& font);
    void SetFontSelect(const QFont& font);
    void SetNotifyManager(TabCtrlNotify* listener);
    void SetBehavior(Behavior behavior);

    // Appends or inserts a tab; none when memory runs out.
    TabItem* AddTab(QWidget* window, const QString& text, int image);
    TabItem* InsertTab(TabItem* before, QWidget* window, const QString& text, int image);
    void RemoveTab(TabItem* tab);
    void SelectTab(TabItem* tab);
    void SetTabDisabled(TabItem* tab, bool disabled);
    void SetTabToolTipText(TabItem* tab, const QString& text);
    // Recomputes the layout and, when asked, repaints.
    void Update(bool repaint = true);

    int GetCount() const { return int(m_tabs.size()); }
    TabItem* GetTab(int index) const;
    TabItem* GetSel() const { return m_sel; }
    TabItem* GetHover() const { return m_hover; }
    TabItem* HitTest(QPoint point) const;
    QRect GetTabRect(const TabItem* tab) const;
    // Whether any part of the tab shows inside the area where tabs are placed.
    bool IsTabVisible(const TabItem* tab) const;
    QString GetToolTipTextFor(const TabItem* tab) const;

    QRect GetTabsArea() const { return m_tabsArea; }
    QRect GetTabsPlacementArea() const { return m_placementArea; }
    QRect GetWindowsArea() const { return m_windowsArea; }
    int GetTabsAreaHeight() const;

    QFont GetFontNormal() const { return m_fontNormal.value_or(font()); }
    QFont GetFontSelect() const { return m_fontSelect.value_or(font()); }
    const CImageList* GetImageList() const { return m_imageList ? &*m_imageList : nullptr; }
    const CImageList* GetImageListDisabled() const { return m_imageListDisabled ? &*m_imageListDisabled : nullptr; }
    // The list a tab's image comes from, or none when the tab shows no image.
    const CImageList* GetImageListFor(const TabItem* tab) const;

    // Whole pixels a text takes, rounded up, so that a tab of that width never cuts it.
    static int TextWidth(const QFont& font, const QString& text);

    QMargins GetTabPadding() const;
    int GetTabImageTextGap() const;

    void InstallStyle(ITabCtrlStyle* style);
    TabCtrlDraw* GetDrawManager() const;
    ITabCtrlRecalc* GetRecalcManager() const;
    ITabCtrlBehavior* GetBehaviorManager() const;
    ITabCtrlToolTip* GetToolTipManager() const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void Recalc();
    void KeepSelectionSelectable();
    void Activate(TabItem* tab);
    void PlaceWindow(QWidget* window) const;
    void LayoutTabs();
    int NaturalWidth(const TabItem* tab) const;
    int TabMinWidth() const;
    TabItem* FirstSelectable() const;
    TabItem* SelectableNeighbour(const TabItem* tab) const;
    void SetHover(TabItem* tab);
    bool ShowToolTip(QPoint pos, QPoint globalPos);
    int IndexOf(const TabItem* tab) const;

    std::vector<std::unique_ptr<TabItem>> m_tabs;
    TabItem* m_sel = nullptr;
    TabItem* m_hover = nullptr;
    std::optional<CImageList> m_imageList;
    std::optional<CImageList> m_imageListDisabled;
    std::optional<QFont> m_fontNormal;
    std::optional<QFont> m_fontSelect;
    Behavior m_behavior = BehaviorSqueeze;
    bool m_showBorder = true;
    TabCtrlNotify* m_notify = nullptr;
    ITabCtrlStyle* m_style = nullptr;
    std::unique_ptr<Service> m_service;

    QRect m_tabsArea;
    QRect m_placementArea;
    QRect m_windowsArea;
};
