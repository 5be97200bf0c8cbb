#include "widgets/ListCtrlEx.h"

#include "platform/NamedLock.h"
#include "platform/NamedLockGuard.h"
#include "widgets/ListCellPainter.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>

#include <climits>

namespace ListCtrlEx {

double ProgressFraction(quint32 position, quint32 maximum)
{
    if (position == 0 || maximum == 0)
        return 0.0;
    if (position >= maximum)
        return 1.0;
    return double(position) / double(maximum);
}

CListCtrlEx::CListCtrlEx(QWidget* parent)
    : QTableWidget(parent)
    , m_painter(new ListCellPainter(this))
{
    setItemDelegate(m_painter);
    setShowGrid(false);
    setWordWrap(false);
    setEditTriggers(NoEditTriggers);
    setSelectionBehavior(SelectRows);
    setSelectionMode(ExtendedSelection);
    setVerticalScrollMode(ScrollPerItem);
    setHorizontalScrollMode(ScrollPerPixel);
    // Clicks must not focus the list on their own: a left click focuses it
    // explicitly, a right click not at all.
    setFocusPolicy(Qt::TabFocus);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    UpdateRowHeight();

    for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()}) {
        // actionTriggered comes before the bar moves, and only for the user's scrolling.
        connect(bar, &QScrollBar::actionTriggered, this, [this] { setFocus(Qt::MouseFocusReason); });
    }
    connect(model(), &QAbstractItemModel::rowsInserted, this,
        [this](const QModelIndex&, int first, int last) { OnRowsInserted(first, last); });
    connect(model(), &QAbstractItemModel::rowsAboutToBeRemoved, this,
        [this](const QModelIndex&, int first, int last) { OnRowsAboutToBeRemoved(first, last); });
}

CListCtrlEx::~CListCtrlEx() = default;

int CListCtrlEx::InsertColumnEx(int column, const QString& heading, int width, ColumnType type, int alignment)
{
    if (column < 0)
        return -1;
    const int index = qMin(column, columnCount());
    insertColumn(index);
    auto* header = new QTableWidgetItem(heading);
    const Qt::Alignment horizontal = alignment == AlignLeft ? Qt::AlignLeft
        : alignment == AlignRight                           ? Qt::AlignRight
                                                            : Qt::AlignHCenter;
    header->setTextAlignment(horizontal | Qt::AlignVCenter);
    setHorizontalHeaderItem(index, header);
    setColumnWidth(index, width);
    m_columnTypes[index] = type;
    return index;
}

ColumnType CListCtrlEx::GetColumnType(int column)
{
    return m_columnTypes.try_emplace(column, Text).first->second;
}

int CListCtrlEx::InsertItem(int row, const QString& text)
{
    const int index = qBound(0, row, rowCount());
    insertRow(index);
    setItem(index, 0, new QTableWidgetItem(text));
    return index;
}

void CListCtrlEx::SetItemText(int row, int column, const QString& text)
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return;
    if (QTableWidgetItem* cell = item(row, column))
        cell->setText(text);
    else
        setItem(row, column, new QTableWidgetItem(text));
}

QString CListCtrlEx::GetItemText(int row, int column) const
{
    const QTableWidgetItem* cell = item(row, column);
    return cell ? cell->text() : QString();
}

void CListCtrlEx::SetGridLines(bool on)
{
    setShowGrid(on);
}

void CListCtrlEx::SetCellImageList(const CImageList& images, ImageListKind kind)
{
    m_images = images;
    m_imageListKind = kind;
    UpdateRowHeight();
    viewport()->update();
}

void CListCtrlEx::SetCellImage(int row, int column, int image)
{
    ChangeCell(row, column, [image](CellInfo& info) { info.image = image; });
}

void CListCtrlEx::SetCellProgressMax(int row, int column, quint32 maximum)
{
    ChangeCell(row, column, [maximum](CellInfo& info) { info.progressMaximum = maximum; });
}

void CListCtrlEx::SetCellProgress(int row, int column, quint32 position, int colour)
{
    ChangeCell(row, column, [position, colour](CellInfo& info) {
        info.progressPosition = position;
        info.progressColour = colour;
    });
}

void CListCtrlEx::SetCellEnabled(int row, int column, bool enabled)
{
    ChangeCell(row, column, [enabled](CellInfo& info) {
        info.flags = enabled ? (info.flags | CellInfo::Enabled) : (info.flags & ~CellInfo::Enabled);
    });
}

void CListCtrlEx::SetShowPercent(bool on)
{
    m_showPercent = on;
    viewport()->update();
}

CellInfo CListCtrlEx::GetCellInfo(int row, int column)
{
    return IsCell(row, column) ? CellRecord(row, column) : CellInfo();
}

void CListCtrlEx::DeleteAllRows()
{
    NamedLock lock(QStringLiteral("MyMutex"));
    NamedLockGuard guard(lock);
    for (int remaining = rowCount(); remaining > 0; --remaining) {
        if (rowCount() > 0)
            DeleteRow(0);
    }
}

bool CListCtrlEx::DeleteRow(int row)
{
    // The attribute records follow the model's row removal (OnRowsAboutToBeRemoved).
    return model()->removeRow(row);
}

Cell CListCtrlEx::HitTestCell(QPoint point) const
{
    const int row = rowAt(point.y());
    if (row < 0)
        return {};
    for (int column = 0; column < columnCount(); ++column) {
        const std::optional<QRect> rect = GetCellRect(row, column);
        if (rect && rect->contains(point))
            return {row, column};
    }
    return {};
}

std::optional<QRect> CListCtrlEx::GetCellRect(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount() || isColumnHidden(column)
        || isRowHidden(row))
        return std::nullopt;
    return QRect(columnViewportPosition(column), rowViewportPosition(row), columnWidth(column), rowHeight(row));
}

void CListCtrlEx::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    if (event->button() == Qt::LeftButton)
        setFocus(Qt::MouseFocusReason);
    const Cell cell = HitTestCell(event->position().toPoint());
    QTableWidget::mousePressEvent(event);
    if (cell.row >= 0 && CellRecord(cell.row, cell.column).flags & CellInfo::Enabled)
        RepaintRow(cell.row);
}

void CListCtrlEx::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QTableWidget::mouseReleaseEvent(event);
}

void CListCtrlEx::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    const Cell cell = HitTestCell(event->position().toPoint());
    if (cell.row >= 0 && CellRecord(cell.row, cell.column).flags & CellInfo::Enabled)
        RepaintRow(cell.row);
    QTableWidget::mouseDoubleClickEvent(event);
}

void CListCtrlEx::wheelEvent(QWheelEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    QTableWidget::wheelEvent(event);
}

void CListCtrlEx::changeEvent(QEvent* event)
{
    QTableWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        UpdateRowHeight();
}

bool CListCtrlEx::IsCell(int row, int column) const
{
    return row >= 0 && row < rowCount() && column >= 0 && column < columnCount();
}

template <typename Change>
void CListCtrlEx::ChangeCell(int row, int column, Change change)
{
    // A cell the list does not hold keeps no attributes, which a row inserted
    // there later would otherwise inherit.
    if (!IsCell(row, column))
        return;
    change(CellRecord(row, column));
    RepaintCell(row, column);
}

CellInfo& CListCtrlEx::CellRecord(int row, int column)
{
    if (m_cells.empty()) {
        for (int r = 0; r < rowCount(); ++r) {
            for (int c = 0; c < columnCount(); ++c)
                m_cells.try_emplace({r, c});
        }
    }
    return m_cells[{row, column}];
}

void CListCtrlEx::RepaintCell(int row, int column)
{
    if (const std::optional<QRect> rect = GetCellRect(row, column))
        viewport()->update(*rect);
}

void CListCtrlEx::RepaintRow(int row)
{
    viewport()->update(QRect(0, rowViewportPosition(row), viewport()->width(), rowHeight(row)));
}

void CListCtrlEx::OnRowsInserted(int first, int last)
{
    // Records of the rows at and after the insertion move down with their rows.
    const int count = last - first + 1;
    std::map<std::pair<int, int>, CellInfo> moved;
    for (auto it = m_cells.lower_bound({first, INT_MIN}); it != m_cells.end();) {
        moved.emplace(std::pair(it->first.first + count, it->first.second), std::move(it->second));
        it = m_cells.erase(it);
    }
    m_cells.merge(moved);
}

void CListCtrlEx::OnRowsAboutToBeRemoved(int first, int last)
{
    const int count = last - first + 1;
    m_cells.erase(m_cells.lower_bound({first, INT_MIN}), m_cells.lower_bound({last + 1, INT_MIN}));
    // Later rows move up in ascending order, each keeping its own attributes.
    for (auto it = m_cells.lower_bound({last + 1, INT_MIN}); it != m_cells.end();) {
        auto node = m_cells.extract(it++);
        node.key().first -= count;
        m_cells.insert(std::move(node));
    }
}

void CListCtrlEx::UpdateRowHeight()
{
    // As high as a line of text or an image and its box, whichever is more.
    const int imageHeight = m_images ? m_images->GetImageSize().height() + 1 : 0;
    verticalHeader()->setDefaultSectionSize(qMax(fontMetrics().height() + 4, imageHeight));
}

} // namespace ListCtrlEx
