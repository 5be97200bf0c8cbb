#include "widgets/ListCellPainter.h"

#include "widgets/ListCtrlEx.h"

#include <QLinearGradient>
#include <QPainter>

namespace ListCtrlEx {

namespace {

void FillVerticalGradient(QPainter& painter, const QRect& rect, const QColor& top, const QColor& bottom)
{
    QLinearGradient gradient(0, rect.top(), 0, rect.bottom() + 1);
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    painter.fillRect(rect, gradient);
}

} // namespace

ListCellPainter::ListCellPainter(CListCtrlEx* list)
    : QStyledItemDelegate(list)
    , m_list(list)
{
}

std::pair<QColor, QColor> ListCellPainter::ProgressGradient(int colour)
{
    switch (colour) {
    case ProgressPassed:
        return {QColor(170, 240, 170), QColor(45, 210, 50)};
    case ProgressFailed:
        return {QColor(254, 205, 205), QColor(255, 7, 7)};
    default:
        return {QColor(247, 227, 162), QColor(238, 148, 26)};
    }
}

void ListCellPainter::paint(QPainter* painter, const QStyleOptionViewItem&, const QModelIndex& index) const
{
    const int row = index.row();
    const int column = index.column();
    const std::optional<QRect> rect = m_list->GetCellRect(row, column);
    if (!rect)
        return;
    const CellInfo& info = m_list->CellRecord(row, column);
    CellToPaint cell;
    cell.rect = *rect;
    cell.text = m_list->GetItemText(row, column);
    cell.selected = m_list->selectionModel()->isRowSelected(row, QModelIndex());
    cell.hasImage = info.image >= 0 && m_list->m_images.has_value();

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setFont(m_list->font());
    // The list's own erase, which the table's selection panel would otherwise replace.
    painter->fillRect(cell.rect, m_list->palette().color(QPalette::Base));
    if (m_list->GetColumnType(column) == Progress)
        PaintProgress(*painter, cell, info);
    else
        PaintText(*painter, cell, info, AlignmentOf(column));
    painter->restore();
}

void ListCellPainter::PaintText(QPainter& painter, const CellToPaint& cell, const CellInfo& info,
    Qt::Alignment alignment) const
{
    const QRect& rect = cell.rect;
    // The bottom pixel is where grid lines go.
    FillBackground(painter, rect.adjusted(0, 0, 0, -1), cell.selected);

    int textLeft = rect.left() + 3;
    if (cell.hasImage) {
        const QRect imageBox(rect.left(), rect.top(), rect.height() - 1, rect.height());
        painter.save();
        painter.setClipRect(imageBox);
        m_list->m_images->Draw(painter, info.image, imageBox.topLeft());
        painter.restore();
        textLeft = imageBox.left() + imageBox.width() + 3;
    }

    const QPalette& palette = m_list->palette();
    QColor textColour = palette.color(QPalette::Text);
    if (cell.selected)
        textColour = palette.color(QPalette::HighlightedText);
    else if (!(info.flags & CellInfo::Enabled))
        textColour = DisabledText();
    const QRect textBox(QPoint(textLeft, rect.top()), rect.bottomRight());
    painter.setClipRect(textBox);
    painter.setPen(textColour);
    painter.drawText(textBox, alignment | Qt::AlignVCenter | Qt::TextSingleLine, cell.text);
}

void ListCellPainter::PaintProgress(QPainter& painter, const CellToPaint& cell, const CellInfo& info) const
{
    const QRect& rect = cell.rect;
    const QPalette& palette = m_list->palette();
    FillBackground(painter, rect, cell.selected);

    // An image's square stays empty before the bar.
    const int frameLeft = cell.hasImage ? rect.height() + 3 : 3;
    const QRect frame = rect.adjusted(frameLeft, 2, -2, -2);
    painter.setBrush(palette.color(QPalette::Base));
    painter.setPen(palette.color(QPalette::Dark));
    painter.drawRoundedRect(frame.adjusted(0, 0, -1, -1), 2.5, 2.5);
    painter.setPen(palette.color(QPalette::Button));
    painter.drawRoundedRect(frame.adjusted(1, 1, -2, -2), 1.0, 1.0);

    const double fraction = ProgressFraction(info.progressPosition, info.progressMaximum);
    const QRect bar = frame.adjusted(3, 3, -3, -3);
    const int fillWidth = qMin(int(fraction * frame.width()), bar.width());
    if (fillWidth > 0) {
        const auto [top, bottom] = ProgressGradient(info.progressColour);
        FillVerticalGradient(painter, QRect(bar.left(), bar.top(), fillWidth, bar.height()), top, bottom);
    }

    const QString text = m_list->m_showPercent ? QString::asprintf("%.2f%%", fraction * 100.0) : cell.text;
    painter.setPen(cell.selected ? palette.color(QPalette::Disabled, QPalette::Text) : palette.color(QPalette::Text));
    painter.setClipRect(rect);
    painter.drawText(rect, Qt::AlignCenter | Qt::TextSingleLine, text);
}

void ListCellPainter::FillBackground(QPainter& painter, const QRect& rect, bool selected) const
{
    if (selected)
        FillVerticalGradient(painter, rect, SelectedTop(), SelectedBottom());
    else
        painter.fillRect(rect, m_list->palette().color(QPalette::Base));
}

Qt::Alignment ListCellPainter::AlignmentOf(int column) const
{
    const QTableWidgetItem* header = m_list->horizontalHeaderItem(column);
    if (!header)
        return Qt::AlignHCenter;
    return Qt::Alignment(header->textAlignment()) & Qt::AlignHorizontal_Mask;
}

} // namespace ListCtrlEx
