#pragma once
#include "widgets/ImageList.h"

#include <QTableWidget>

#include <map>
#include <optional>
#include <utility>

namespace ListCtrlEx {

class ListCellPainter;

// How the cells of a column are painted.
enum ColumnType {
    Text = 0,
    ComboBox = 1,
    EditText = 2,
    EditHex = 3,
    EditDecimal = 4,
    Progress = 5,
    CheckBox = 6,
};

enum ColumnAlignment { AlignLeft = 0, AlignRight = 1, AlignCentre = 2 };

// Which of the list's image lists a caller meant; the list is always used for
// the cells' small images.
enum ImageListKind { NormalImages = 0, SmallImages = 1, StateImages = 2 };

// Progress bar colours, chosen by the owner per cell state.
enum ProgressColour { ProgressRunning = 0, ProgressPassed = 1, ProgressFailed = 2 };

struct CellInfo {
    static constexpr quint32 Enabled = 0x01;
    static constexpr quint32 Ticked = 0x10;

    quint32 flags = Enabled;
    int image = -1;
    QStringList options;
    QString spare;
    quint32 progressPosition = 0;
    quint32 progressMaximum = 100;
    int progressColour = ProgressRunning;
};

struct Cell {
    int row = -1;
    int column = -1;
    bool operator==(const Cell&) const = default;
};

// The share of the bar a progress cell fills, 0 to 1.
double ProgressFraction(quint32 position, quint32 maximum);

// A report list that paints every cell itself by its column's kind and keeps a
// small attribute record per cell. Rows, columns, header, selection and
// scrolling are the table's own. A right click neither selects nor focuses;
// scrolling by the user first moves the focus to the list.
class CListCtrlEx : public QTableWidget {
    Q_OBJECT

public:
    explicit CListCtrlEx(QWidget* parent = nullptr);
    ~CListCtrlEx() override;

    // Returns the new column's index, or -1 when the index is negative.
    int InsertColumnEx(int column, const QString& heading, int width, ColumnType type, int alignment);
    ColumnType GetColumnType(int column);

    // Inserts a row whose first cell shows the text; returns its index.
    int InsertItem(int row, const QString& text);
    void SetItemText(int row, int column, const QString& text);
    QString GetItemText(int row, int column) const;
    void SetGridLines(bool on);

    void SetCellImageList(const CImageList& images, ImageListKind kind);
    ImageListKind GetCellImageListKind() const { return m_imageListKind; }
    void SetCellImage(int row, int column, int image);
    void SetCellProgressMax(int row, int column, quint32 maximum);
    void SetCellProgress(int row, int column, quint32 position, int colour);
    void SetCellEnabled(int row, int column, bool enabled);
    void SetShowPercent(bool on);

    // The cell's attributes, made with their defaults when it has none yet.
    // Setters on a cell outside the list are ignored.
    CellInfo GetCellInfo(int row, int column);

    // Clears every row while holding the machine-wide lock "MyMutex".
    void DeleteAllRows();
    // Deletes the row; later rows keep their own attributes. False when the
    // row does not exist.
    bool DeleteRow(int row);

    // The cell under a point of the viewport, or (-1, -1).
    Cell HitTestCell(QPoint point) const;
    // The cell's rectangle in viewport coordinates, grid line included.
    std::optional<QRect> GetCellRect(int row, int column) const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    friend class ListCellPainter;

    bool IsCell(int row, int column) const;
    template <typename Change>
    void ChangeCell(int row, int column, Change change);
    CellInfo& CellRecord(int row, int column);
    void RepaintCell(int row, int column);
    void RepaintRow(int row);
    void OnRowsInserted(int first, int last);
    void OnRowsAboutToBeRemoved(int first, int last);
    void UpdateRowHeight();

    std::map<int, ColumnType> m_columnTypes;
    std::map<std::pair<int, int>, CellInfo> m_cells;
    bool m_showPercent = false;
    std::optional<CImageList> m_images;
    ImageListKind m_imageListKind = SmallImages;
    ListCellPainter* m_painter;
};

} // namespace ListCtrlEx
