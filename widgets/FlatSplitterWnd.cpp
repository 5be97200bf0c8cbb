#include "widgets/FlatSplitterWnd.h"

#include <QMouseEvent>
#include <QPainter>

CFlatSplitterWnd::CFlatSplitterWnd(QWidget* parent)
    : QWidget(parent)
{
    setMouseTracking(true);
}

bool CFlatSplitterWnd::CreateStatic(int rows, int columns)
{
    if (rows < 1 || columns < 1 || !m_panes.isEmpty())
        return false;
    m_rows = QList<TrackInfo>(rows);
    m_columns = QList<TrackInfo>(columns);
    m_panes = QList<QPointer<QWidget>>(rows * columns);
    return true;
}

bool CFlatSplitterWnd::CreateView(int row, int column, QWidget* pane, QSize initialSize)
{
    if (!pane || row < 0 || row >= m_rows.size() || column < 0 || column >= m_columns.size())
        return false;
    pane->setParent(this);
    m_panes[row * m_columns.size() + column] = pane;
    m_rows[row].ideal = initialSize.height();
    m_columns[column].ideal = initialSize.width();
    pane->show();
    RecalcLayout();
    return true;
}

QWidget* CFlatSplitterWnd::GetPane(int row, int column) const
{
    if (row < 0 || row >= m_rows.size() || column < 0 || column >= m_columns.size())
        return nullptr;
    return m_panes[row * m_columns.size() + column];
}

void CFlatSplitterWnd::SetBarSize(int px)
{
    m_barSize = qMax(0, px);
    RecalcLayout();
}

void CFlatSplitterWnd::AllowTracking(bool on)
{
    m_tracking = on;
    if (!on) {
        m_drag.reset();
        unsetCursor();
    }
}

void CFlatSplitterWnd::SetRowInfo(int row, int ideal, int minimum)
{
    if (row >= 0 && row < m_rows.size())
        m_rows[row] = TrackInfo{ideal, minimum};
}

void CFlatSplitterWnd::SetColumnInfo(int column, int ideal, int minimum)
{
    if (column >= 0 && column < m_columns.size())
        m_columns[column] = TrackInfo{ideal, minimum};
}

QList<int> CFlatSplitterWnd::DivideLength(const QList<TrackInfo>& tracks, int length, int gap)
{
    QList<int> sizes;
    int used = 0;
    for (int i = 0; i < tracks.size(); ++i) {
        const int left = qMax(0, length - used);
        int size = left;
        if (i + 1 < tracks.size())
            size = qMin(tracks[i].ideal < tracks[i].minimum ? 0 : qMax(0, tracks[i].ideal), left);
        sizes.append(size);
        used += size + gap;
    }
    return sizes;
}

QRect CFlatSplitterWnd::PaneArea() const
{
    return rect().adjusted(kBorder, kBorder, -kBorder, -kBorder);
}

QList<int> CFlatSplitterWnd::Starts(const QList<int>& sizes, int origin) const
{
    QList<int> starts;
    for (int size : sizes) {
        starts.append(origin);
        origin += size + m_barSize;
    }
    return starts;
}

void CFlatSplitterWnd::RecalcLayout()
{
    const QRect area = PaneArea();
    const QList<int> heights = DivideLength(m_rows, area.height(), m_barSize);
    const QList<int> widths = DivideLength(m_columns, area.width(), m_barSize);
    const QList<int> tops = Starts(heights, area.top());
    const QList<int> lefts = Starts(widths, area.left());
    for (int row = 0; row < m_rows.size(); ++row) {
        for (int column = 0; column < m_columns.size(); ++column) {
            QWidget* pane = GetPane(row, column);
            const QRect place(lefts[column], tops[row], widths[column], heights[row]);
            if (pane && pane->geometry() != place)
                pane->setGeometry(place);
        }
    }
    update();
}

QList<CFlatSplitterWnd::Bar> CFlatSplitterWnd::Bars() const
{
    const QRect area = PaneArea();
    const QList<int> heights = DivideLength(m_rows, area.height(), m_barSize);
    const QList<int> widths = DivideLength(m_columns, area.width(), m_barSize);
    const QList<int> tops = Starts(heights, area.top());
    const QList<int> lefts = Starts(widths, area.left());
    QList<Bar> bars;
    for (int row = 0; row + 1 < m_rows.size(); ++row)
        bars.append({Qt::Horizontal, row, QRect(area.left(), tops[row] + heights[row], area.width(), m_barSize)});
    for (int column = 0; column + 1 < m_columns.size(); ++column)
        bars.append({Qt::Vertical, column, QRect(lefts[column] + widths[column], area.top(), m_barSize, area.height())});
    return bars;
}

std::optional<CFlatSplitterWnd::Bar> CFlatSplitterWnd::BarAt(QPoint point) const
{
    for (const Bar& bar : Bars()) {
        if (bar.rect.contains(point))
            return bar;
    }
    return std::nullopt;
}

void CFlatSplitterWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect frame = rect();
    // A 3-D border: workspace colour above and left, inactive border below and right.
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(frame.topLeft(), frame.topRight());
    painter.drawLine(frame.topLeft(), frame.bottomLeft());
    painter.setPen(palette().color(QPalette::Midlight));
    painter.drawLine(frame.bottomLeft(), frame.bottomRight());
    painter.drawLine(frame.topRight(), frame.bottomRight());
    for (const Bar& bar : Bars())
        painter.fillRect(bar.rect, palette().color(QPalette::Window));
}

void CFlatSplitterWnd::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    RecalcLayout();
}

void CFlatSplitterWnd::mousePressEvent(QMouseEvent* event)
{
    const std::optional<Bar> bar = BarAt(event->position().toPoint());
    if (!m_tracking || event->button() != Qt::LeftButton || !bar) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint point = event->position().toPoint();
    const int grab = bar->orientation == Qt::Vertical ? point.x() - bar->rect.left() : point.y() - bar->rect.top();
    m_drag = Drag{*bar, grab};
}

void CFlatSplitterWnd::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (!m_drag) {
        const std::optional<Bar> bar = m_tracking ? BarAt(point) : std::nullopt;
        if (bar)
            setCursor(bar->orientation == Qt::Vertical ? Qt::SplitHCursor : Qt::SplitVCursor);
        else
            unsetCursor();
        return;
    }
    // The track before the bar gets what lies between its start and the bar.
    const Bar& bar = m_drag->bar;
    const bool columns = bar.orientation == Qt::Vertical;
    QList<TrackInfo>& tracks = columns ? m_columns : m_rows;
    const QRect area = PaneArea();
    const QList<int> sizes = DivideLength(tracks, columns ? area.width() : area.height(), m_barSize);
    const int trackStart = Starts(sizes, columns ? area.left() : area.top())[bar.index];
    const int barStart = (columns ? point.x() : point.y()) - m_drag->grabOffset;
    tracks[bar.index].ideal = qMax(0, barStart - trackStart);
    RecalcLayout();
}

void CFlatSplitterWnd::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_drag && event->button() == Qt::LeftButton) {
        m_drag.reset();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}
