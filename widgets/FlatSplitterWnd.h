#pragma once
#include <QList>
#include <QPointer>
#include <QWidget>

#include <optional>

// A static splitter of rows and columns of panes, painted flat, with a settable
// bar width and a switch that forbids dragging the bars. Along each direction
// every pane but the last gets its ideal size (nothing when the ideal is below
// its minimum), the last takes the rest, and one bar lies between neighbours.
class CFlatSplitterWnd : public QWidget {
    Q_OBJECT

public:
    struct TrackInfo {
        int ideal = 0;
        int minimum = 0;
    };

    static constexpr int kBorder = 1;

    explicit CFlatSplitterWnd(QWidget* parent = nullptr);

    bool CreateStatic(int rows, int columns);
    // Places the pane; its initial size becomes its row's and column's ideal size.
    bool CreateView(int row, int column, QWidget* pane, QSize initialSize);
    QWidget* GetPane(int row, int column) const;

    void SetBarSize(int px);
    int GetBarSize() const { return m_barSize; }
    void AllowTracking(bool on);

    void SetRowInfo(int row, int ideal, int minimum);
    void SetColumnInfo(int column, int ideal, int minimum);
    TrackInfo GetRowInfo(int row) const { return m_rows.value(row); }
    TrackInfo GetColumnInfo(int column) const { return m_columns.value(column); }
    void RecalcLayout();

    // Sizes along one direction by the layout rule.
    static QList<int> DivideLength(const QList<TrackInfo>& tracks, int length, int gap);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    struct Bar {
        Qt::Orientation orientation; // Qt::Vertical: a bar between two columns
        int index;                   // the row or column before the bar
        QRect rect;
    };
    struct Drag {
        Bar bar;
        int grabOffset;
    };

    QRect PaneArea() const;
    QList<int> Starts(const QList<int>& sizes, int origin) const;
    QList<Bar> Bars() const;
    std::optional<Bar> BarAt(QPoint point) const;

    QList<TrackInfo> m_rows;
    QList<TrackInfo> m_columns;
    QList<QPointer<QWidget>> m_panes; // row-major
    int m_barSize = 5;
    bool m_tracking = true;
    std::optional<Drag> m_drag;
};
