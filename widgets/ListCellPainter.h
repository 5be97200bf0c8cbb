#pragma once
#include <QStyledItemDelegate>

namespace ListCtrlEx {

class CListCtrlEx;
struct CellInfo;

// Paints each cell of a CListCtrlEx by its column's kind, over the whole cell
// rectangle, in place of the table's own painting.
class ListCellPainter : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit ListCellPainter(CListCtrlEx* list);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    static QColor SelectedTop() { return QColor(255, 246, 204); }
    static QColor SelectedBottom() { return QColor(255, 194, 115); }
    static QColor DisabledText() { return QColor(192, 192, 192); }
    // Top and bottom colours of a progress bar, by its colour number.
    static std::pair<QColor, QColor> ProgressGradient(int colour);

private:
    struct CellToPaint {
        QRect rect;
        QString text;
        bool selected = false;
        bool hasImage = false;
    };

    void PaintText(QPainter& painter, const CellToPaint& cell, const CellInfo& info, Qt::Alignment alignment) const;
    void PaintProgress(QPainter& painter, const CellToPaint& cell, const CellInfo& info) const;
    void FillBackground(QPainter& painter, const QRect& rect, bool selected) const;
    Qt::Alignment AlignmentOf(int column) const;

    CListCtrlEx* m_list;
};

} // namespace ListCtrlEx
