#include "widgets/tabctrl/TabCtrlStyle_VS2003_bars_custom1.h"

#include "widgets/SystemColors.h"
#include "widgets/tabctrl/TabCtrl.h"
#include "widgets/tabctrl/TabItem.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

// Rectangles here are the toolkit's, whose right() and bottom() are the last
// pixel inside.
void drawLine(QPainter* painter, const QColor& colour, int x1, int y1, int x2, int y2)
{
    painter->setPen(colour);
    painter->drawLine(x1, y1, x2, y2);
}

} // namespace

QColor TabCtrlStyle_VS2003_bars_custom1::MixColors(const QColor& a, const QColor& b, int percent)
{
    const auto mix = [percent](int x, int y) { return (percent * x + (100 - percent) * y) / 100; };
    return QColor(mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue()));
}

void TabCtrlStyle_VS2003_bars_custom1::DrawTabsArea(const TabCtrl* ctrl, QPainter* painter, const QRect& rect)
{
    const QPalette& colours = ctrl->palette();
    const QColor band = MixColors(SystemColors::ButtonFace(colours), SystemColors::ButtonHighlight(colours), 45);
    painter->fillRect(rect.adjusted(0, 0, 0, -1), band);
    drawLine(painter, SystemColors::ButtonShadow(colours), rect.left(), rect.bottom(), rect.right(), rect.bottom());
}

void TabCtrlStyle_VS2003_bars_custom1::DrawTab(const TabCtrl* ctrl, QPainter* painter, const TabItem* tab)
{
    const bool selected = tab == ctrl->GetSel();
    if (selected)
        DrawSelectedFrame(painter, tab->GetRect(), ctrl->palette());
    else
        DrawSeparator(painter, tab->GetRect(), ctrl->GetTabPadding(), ctrl->palette());
    DrawContent(ctrl, painter, tab, selected);
}

void TabCtrlStyle_VS2003_bars_custom1::DrawSelectedFrame(QPainter* painter, const QRect& rect, const QPalette& colours)
{
    painter->fillRect(rect.adjusted(1, 1, -1, 0), SystemColors::ButtonFace(colours));
    const QColor shadow = SystemColors::ButtonShadow(colours);
    drawLine(painter, shadow, rect.left() + 1, rect.top(), rect.right() - 1, rect.top());
    drawLine(painter, shadow, rect.right(), rect.top() + 1, rect.right(), rect.bottom());
    drawLine(painter, SystemColors::ButtonHighlight(colours), rect.left(), rect.top() + 1, rect.left(), rect.bottom());
}

void TabCtrlStyle_VS2003_bars_custom1::DrawSeparator(QPainter* painter, const QRect& rect, const QMargins& padding, const QPalette& colours)
{
    drawLine(painter, SystemColors::ButtonShadow(colours), rect.right(), rect.top() + padding.top(), rect.right(),
             rect.bottom() - padding.bottom());
}

// Image and text are centred together; the text is cut with an ellipsis when it
// does not fit.
void TabCtrlStyle_VS2003_bars_custom1::DrawContent(const TabCtrl* ctrl, QPainter* painter, const TabItem* tab, bool selected)
{
    const QRect content = tab->GetRect() - ctrl->GetTabPadding();
    const QFont font = selected ? ctrl->GetFontSelect() : ctrl->GetFontNormal();
    const QFontMetrics metrics(font);
    QRect textArea = content;
    int textAlignment = Qt::AlignHCenter;
    if (const CImageList* images = ctrl->GetImageListFor(tab)) {
        const QSize imageSize = images->GetImageSize();
        const int together = imageSize.width() + ctrl->GetTabImageTextGap() + TabCtrl::TextWidth(font, tab->GetText());
        const int left = content.left() + qMax(0, (content.width() - together) / 2);
        const int top = (content.top() + content.bottom() + 1 - imageSize.height() + 1) / 2;
        painter->save();
        painter->setClipRect(content, Qt::IntersectClip);
        images->Draw(*painter, tab->GetImage(), QPoint(left, top));
        painter->restore();
        textArea.setLeft(left + imageSize.width() + ctrl->GetTabImageTextGap());
        textAlignment = Qt::AlignLeft;
    }
    if (textArea.width() <= 0)
        return;
    painter->setFont(font);
    painter->setPen(TextColor(tab, selected, ctrl->palette()));
    const QString shown = metrics.elidedText(tab->GetText(), Qt::ElideRight, textArea.width());
    painter->drawText(textArea, textAlignment | Qt::AlignVCenter | Qt::TextSingleLine, shown);
}

QColor TabCtrlStyle_VS2003_bars_custom1::TextColor(const TabItem* tab, bool selected, const QPalette& colours)
{
    if (tab->IsDisabled())
        return SystemColors::GrayText(colours);
    if (selected)
        return SystemColors::ButtonText(colours);
    return MixColors(SystemColors::ButtonShadow(colours), Qt::black, 55);
}

void TabCtrlStyle_VS2003_bars_custom1::DrawWindowsArea(const TabCtrl* ctrl, QPainter* painter, const QRect& rect)
{
    const QPalette& colours = ctrl->palette();
    if (ctrl->GetCount() == 0 || !ctrl->GetSel()) {
        painter->fillRect(rect, SystemColors::AppWorkspace(colours));
        return;
    }
    const QColor shadow = SystemColors::ButtonShadow(colours);
    drawLine(painter, shadow, rect.left(), rect.top(), rect.left(), rect.bottom());
    drawLine(painter, shadow, rect.left(), rect.bottom(), rect.right(), rect.bottom());
    drawLine(painter, shadow, rect.right(), rect.top(), rect.right(), rect.bottom());
}

int TabCtrlStyle_VS2003_bars_custom1::GetBorderWidth(const TabCtrl*, ITabCtrlRecalc*)
{
    return 0;
}

QMargins TabCtrlStyle_VS2003_bars_custom1::GetTabsAreaPadding(const TabCtrl*, ITabCtrlRecalc*)
{
    return QMargins(4, 1, 2, 0);
}

QMargins TabCtrlStyle_VS2003_bars_custom1::GetWindowsAreaPadding(const TabCtrl*, ITabCtrlRecalc*)
{
    return QMargins(1, 0, 1, 1);
}

QMargins TabCtrlStyle_VS2003_bars_custom1::GetTabHorzMargin(const TabCtrl* ctrl, ITabCtrlRecalc* base)
{
    return base->GetTabHorzMargin(ctrl, base);
}

QMargins TabCtrlStyle_VS2003_bars_custom1::GetTabPadding(const TabCtrl*, ITabCtrlRecalc*)
{
    return QMargins(6, 2, 6, 2);
}

int TabCtrlStyle_VS2003_bars_custom1::GetTabImageTextGap(const TabCtrl* ctrl, ITabCtrlRecalc* base)
{
    return base->GetTabImageTextGap(ctrl, base);
}

int TabCtrlStyle_VS2003_bars_custom1::GetTabExtraWidth(const TabCtrl* ctrl, ITabCtrlRecalc* base)
{
    return base->GetTabExtraWidth(ctrl, base);
}

int TabCtrlStyle_VS2003_bars_custom1::GetTabMinWidth(const TabCtrl* ctrl, ITabCtrlRecalc* base)
{
    return base->GetTabMinWidth(ctrl, base);
}
