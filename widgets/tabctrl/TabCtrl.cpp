#include "widgets/tabctrl/TabCtrl.h"

#include "widgets/tabctrl/ITabCtrlStyle.h"
#include "widgets/tabctrl/Service.h"
#include "widgets/tabctrl/TabCtrlDraw.h"
#include "widgets/tabctrl/TabCtrlLayout.h"
#include "widgets/tabctrl/TabCtrlNotify.h"
#include "widgets/tabctrl/TabItem.h"

#include <QFontMetrics>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QtMath>
#include <QPainter>

#include <new>

TabCtrl::TabCtrl(QWidget* parent)
    : QWidget(parent)
    , m_service(std::make_unique<Service>())
{
    setMouseTracking(true);
}

TabCtrl::~TabCtrl() = default;

bool TabCtrl::Create(QWidget* parent, bool visible, const QRect& rect, int id)
{
    setParent(parent);
    setObjectName(QStringLiteral("id%1").arg(id));
    setGeometry(rect);
    setVisible(visible);
    return true;
}

bool TabCtrl::SetImageLists(const CImageList* normal, const CImageList* disabled)
{
    m_imageList = normal ? std::optional(*normal) : std::nullopt;
    m_imageListDisabled = disabled ? std::optional(*disabled) : std::nullopt;
    const auto readable = [](const CImageList* list) { return !list || !list->GetImageSize().isEmpty(); };
    return readable(normal) && readable(disabled);
}

void TabCtrl::SetFontNormal(const QFont& font)
{
    m_fontNormal = font;
}

void TabCtrl::SetFontSelect(const QFont& font)
{
    m_fontSelect = font;
}

void TabCtrl::SetNotifyManager(TabCtrlNotify* listener)
{
    m_notify = listener;
}

void TabCtrl::SetBehavior(Behavior behavior)
{
    m_behavior = behavior;
}

void TabCtrl::InstallStyle(ITabCtrlStyle* style)
{
    m_style = style;
}

TabCtrlDraw* TabCtrl::GetDrawManager() const
{
    return m_style ? m_style->GetDrawManager() : nullptr;
}

ITabCtrlRecalc* TabCtrl::GetRecalcManager() const
{
    ITabCtrlRecalc* recalc = m_style ? m_style->GetRecalcManager() : nullptr;
    return recalc ? recalc : m_service.get();
}

ITabCtrlBehavior* TabCtrl::GetBehaviorManager() const
{
    ITabCtrlBehavior* behavior = m_style ? m_style->GetBehaviorManager() : nullptr;
    return behavior ? behavior : m_service.get();
}

ITabCtrlToolTip* TabCtrl::GetToolTipManager() const
{
    ITabCtrlToolTip* toolTip = m_style ? m_style->GetToolTipManager() : nullptr;
    return toolTip ? toolTip : m_service.get();
}

TabItem* TabCtrl::AddTab(QWidget* window, const QString& text, int image)
{
    return InsertTab(nullptr, window, text, image);
}

TabItem* TabCtrl::InsertTab(TabItem* before, QWidget* window, const QString& text, int image)
{
    if (m_notify)
        m_notify->OnTabPreCreate(this, window, text, image);
    TabItem* tab = nullptr;
    try {
        std::unique_ptr<TabItem> item(new TabItem(window, text, image));
        const int position = before ? IndexOf(before) : -1;
        tab = m_tabs.insert(position < 0 ? m_tabs.end() : m_tabs.begin() + position, std::move(item))->get();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    if (m_sel && window)
        window->hide();
    else if (!m_sel)
        Activate(FirstSelectable());
    if (m_notify)
        m_notify->OnTabPostCreate(this, tab);
    return tab;
}

void TabCtrl::RemoveTab(TabItem* tab)
{
    const int index = IndexOf(tab);
    if (index < 0)
        return;
    if (tab == m_sel)
        Activate(SelectableNeighbour(tab));
    if (QWidget* window = tab->GetWindow())
        window->hide();
    if (m_hover == tab)
        m_hover = nullptr;
    m_tabs.erase(m_tabs.begin() + index);
    Update();
}

void TabCtrl::SelectTab(TabItem* tab)
{
    if (IndexOf(tab) < 0 || tab->IsDisabled() || tab == m_sel)
        return;
    Activate(tab);
}

void TabCtrl::SetTabDisabled(TabItem* tab, bool disabled)
{
    tab->m_disabled = disabled;
    Update();
}

void TabCtrl::SetTabToolTipText(TabItem* tab, const QString& text)
{
    tab->m_toolTip = text;
}

void TabCtrl::Update(bool repaint)
{
    Recalc();
    if (repaint)
        update();
}

TabItem* TabCtrl::GetTab(int index) const
{
    return index >= 0 && index < GetCount() ? m_tabs[index].get() : nullptr;
}

int TabCtrl::IndexOf(const TabItem* tab) const
{
    for (int i = 0; i < GetCount(); ++i) {
        if (m_tabs[i].get() == tab)
            return i;
    }
    return -1;
}

TabItem* TabCtrl::HitTest(QPoint point) const
{
    return m_tabsArea.contains(point) ? GetBehaviorManager()->GetTabUnderPoint(this, point) : nullptr;
}

QRect TabCtrl::GetTabRect(const TabItem* tab) const
{
    return tab->GetRect();
}

bool TabCtrl::IsTabVisible(const TabItem* tab) const
{
    return tab->GetRect().intersects(m_placementArea);
}

QString TabCtrl::GetToolTipTextFor(const TabItem* tab) const
{
    if (!tab || !IsTabVisible(tab))
        return QString();
    if (!tab->GetToolTipText().isEmpty())
        return tab->GetToolTipText();
    const int shownWidth = tab->GetRect().intersected(m_placementArea).width();
    return shownWidth < tab->GetNaturalWidth() ? tab->GetText() : QString();
}

const CImageList* TabCtrl::GetImageListFor(const TabItem* tab) const
{
    const CImageList* list = tab->IsDisabled() ? GetImageListDisabled() : GetImageList();
    return list && tab->GetImage() >= 0 && tab->GetImage() < list->GetImageCount() ? list : nullptr;
}

QMargins TabCtrl::GetTabPadding() const
{
    return GetRecalcManager()->GetTabPadding(this, m_service.get());
}

int TabCtrl::GetTabImageTextGap() const
{
    return GetRecalcManager()->GetTabImageTextGap(this, m_service.get());
}

int TabCtrl::TabMinWidth() const
{
    return GetRecalcManager()->GetTabMinWidth(this, m_service.get());
}

TabItem* TabCtrl::FirstSelectable() const
{
    for (const auto& tab : m_tabs) {
        if (!tab->IsDisabled())
            return tab.get();
    }
    return nullptr;
}

// The nearest selectable tab after the given one, else before it.
TabItem* TabCtrl::SelectableNeighbour(const TabItem* tab) const
{
    const int index = IndexOf(tab);
    for (int i = index + 1; i < GetCount(); ++i) {
        if (!m_tabs[i]->IsDisabled())
            return m_tabs[i].get();
    }
    for (int i = index - 1; i >= 0; --i) {
        if (!m_tabs[i]->IsDisabled())
            return m_tabs[i].get();
    }
    return nullptr;
}

// Shows the tab's window in the windows area and hides the previous one.
void TabCtrl::Activate(TabItem* tab)
{
    TabItem* previous = m_sel;
    m_sel = tab;
    if (tab && tab->GetWindow()) {
        PlaceWindow(tab->GetWindow());
        tab->GetWindow()->show();
    }
    if (previous && previous != tab && previous->GetWindow())
        previous->GetWindow()->hide();
}

void TabCtrl::PlaceWindow(QWidget* window) const
{
    QRect rect = m_windowsArea - GetRecalcManager()->GetWindowsAreaPadding(this, m_service.get());
    rect.setHeight(qMax(0, rect.height()));
    QWidget* parent = window->parentWidget();
    if (parent && parent != this)
        rect.moveTopLeft(parent->mapFromGlobal(mapToGlobal(rect.topLeft())));
    window->setGeometry(rect);
}

int TabCtrl::GetTabsAreaHeight() const
{
    ITabCtrlRecalc* recalc = GetRecalcManager();
    const int textHeight = qMax(QFontMetrics(GetFontNormal()).height(), QFontMetrics(GetFontSelect()).height());
    const int normalHeight = m_imageList ? m_imageList->GetImageSize().height() : 0;
    const int disabledHeight = m_imageListDisabled ? m_imageListDisabled->GetImageSize().height() : 0;
    const QMargins padding = GetTabPadding();
    const QMargins areaPadding = recalc->GetTabsAreaPadding(this, m_service.get());
    const int content = padding.top() + qMax(textHeight, qMax(normalHeight, disabledHeight)) + padding.bottom();
    return areaPadding.top() + content + areaPadding.bottom();
}

int TabCtrl::TextWidth(const QFont& font, const QString& text)
{
    return qCeil(QFontMetricsF(font).horizontalAdvance(text));
}

int TabCtrl::NaturalWidth(const TabItem* tab) const
{
    ITabCtrlRecalc* recalc = GetRecalcManager();
    const QMargins padding = GetTabPadding();
    int width = padding.left() + padding.right() + recalc->GetTabExtraWidth(this, m_service.get());
    if (const CImageList* list = GetImageListFor(tab))
        width += list->GetImageSize().width() + GetTabImageTextGap();
    return width + qMax(TextWidth(GetFontNormal(), tab->GetText()), TextWidth(GetFontSelect(), tab->GetText()));
}

void TabCtrl::Recalc()
{
    ITabCtrlRecalc* recalc = GetRecalcManager();
    const int border = m_showBorder ? recalc->GetBorderWidth(this, m_service.get()) : 0;
    const QRect client = rect().adjusted(border, border, -border, -border);
    if (m_tabs.empty()) {
        m_tabsArea = m_placementArea = QRect();
        m_windowsArea = client;
        return;
    }
    const int stripHeight = qMin(GetTabsAreaHeight(), client.height());
    m_tabsArea = QRect(client.left(), client.top(), client.width(), stripHeight);
    m_windowsArea = QRect(client.left(), client.top() + stripHeight, client.width(), client.height() - stripHeight);
    KeepSelectionSelectable();
    if (m_sel && m_sel->GetWindow()) {
        PlaceWindow(m_sel->GetWindow());
        m_sel->GetWindow()->show();
    }
    m_placementArea = m_tabsArea - recalc->GetTabsAreaPadding(this, m_service.get());
    LayoutTabs();
}

void TabCtrl::KeepSelectionSelectable()
{
    if (m_sel && m_sel->IsDisabled())
        Activate(SelectableNeighbour(m_sel));
    else if (!m_sel)
        Activate(FirstSelectable());
}

void TabCtrl::LayoutTabs()
{
    QList<int> widths;
    for (const auto& tab : m_tabs) {
        tab->m_width = NaturalWidth(tab.get());
        widths.append(tab->m_width);
    }
    const QMargins margin = GetRecalcManager()->GetTabHorzMargin(this, m_service.get());
    const QList<QRect> rects = m_behavior == BehaviorScroll
        ? TabCtrlLayout::Scroll(m_placementArea, widths, margin)
        : TabCtrlLayout::Squeeze(m_placementArea, widths, margin, TabMinWidth());
    for (int i = 0; i < GetCount(); ++i)
        m_tabs[i]->m_rect = rects[i];
}

void TabCtrl::resizeEvent(QResizeEvent*)
{
    Recalc();
}

void TabCtrl::paintEvent(QPaintEvent*)
{
    TabCtrlDraw* draw = GetDrawManager();
    if (!draw)
        return;
    QPainter painter(this);
    if (!m_tabsArea.isEmpty())
        draw->DrawTabsArea(this, &painter, m_tabsArea);
    painter.save();
    painter.setClipRect(m_placementArea);
    for (const auto& tab : m_tabs) {
        if (tab.get() != m_sel && IsTabVisible(tab.get()))
            draw->DrawTab(this, &painter, tab.get());
    }
    if (m_sel && IsTabVisible(m_sel))
        draw->DrawTab(this, &painter, m_sel);
    painter.restore();
    draw->DrawWindowsArea(this, &painter, m_windowsArea);
}

void TabCtrl::SetHover(TabItem* tab)
{
    if (tab == m_hover)
        return;
    m_hover = tab;
    GetToolTipManager()->HideToolTip(this);
    update();
}

void TabCtrl::mouseMoveEvent(QMouseEvent* event)
{
    SetHover(HitTest(event->position().toPoint()));
}

void TabCtrl::leaveEvent(QEvent*)
{
    SetHover(nullptr);
}

// Selection happens on the press, not on the release.
void TabCtrl::mousePressEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    TabItem* tab = HitTest(point);
    if (event->button() == Qt::RightButton) {
        if (m_notify)
            m_notify->OnRButtonDown(this, tab, point);
        return;
    }
    if (event->button() != Qt::LeftButton || !tab || tab->IsDisabled())
        return;
    if (m_notify)
        m_notify->OnLButtonDown(this, tab, point);
    if (tab != m_sel) {
        SelectTab(tab);
        Recalc();
        if (m_notify)
            m_notify->OnTabSelected(this, tab);
    }
    update();
}

void TabCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton && m_notify)
        m_notify->OnRButtonUp(this, HitTest(event->position().toPoint()), event->position().toPoint());
}

// A quick second right press is still a right press.
void TabCtrl::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return mousePressEvent(event);
    const QPoint point = event->position().toPoint();
    TabItem* tab = HitTest(point);
    if (tab && !tab->IsDisabled() && m_notify)
        m_notify->OnLButtonDblClk(this, tab, point);
}

bool TabCtrl::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        return ShowToolTip(help->pos(), help->globalPos());
    }
    return QWidget::event(event);
}

bool TabCtrl::ShowToolTip(QPoint pos, QPoint globalPos)
{
    const QString text = GetToolTipTextFor(HitTest(pos));
    if (text.isEmpty()) {
        GetToolTipManager()->HideToolTip(this);
        return false;
    }
    GetToolTipManager()->ShowToolTip(this, globalPos, text, m_tabsArea);
    return true;
}
