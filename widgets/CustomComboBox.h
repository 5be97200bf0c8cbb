#pragma once
#include "widgets/ImageList.h"

#include <QColor>
#include <QComboBox>
#include <QMap>

#include <optional>

// A drop-down list that paints its items itself: an image before the text, bold
// items, a text colour per item, and optionally several columns divided by thin
// lines. Items are added and selected with the combo box's own operations.
class CCustomComboBox : public QComboBox {
    Q_OBJECT

public:
    enum TextFormat { FormatLeft = 0, FormatCentre = 1 };

    struct ItemRecord {
        QColor textColour = Qt::black;
        int image = -1;
        QMap<int, QString> columnTexts;
        bool bold = false;
    };

    explicit CCustomComboBox(QWidget* parent = nullptr);

    // Appends the bitmap to the 16 x 16 image list, which the first image creates.
    void AddImage(int bitmapId);
    void SetItemImage(int item, int image);
    void SetItemBold(int item, bool on);
    void SetItemTextColor(int item, const QColor& colour);
    // Column 1 and up; column 0 shows the item's own text.
    void SetColumnText(int item, int column, const QString& text);
    // With two or more widths the items are drawn in columns.
    void SetColumnWidths(const QList<int>& widths);
    void SetTextFormat(int flags);

    // The item's record, when an attribute has been set on it.
    std::optional<ItemRecord> GetItemRecord(int item) const;

    void DrawItem(QPainter& painter, const QRect& rect, int item, bool selected) const;
    int ItemHeight() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    template <typename Change>
    void ChangeItemRecord(int item, Change change);
    void DrawColumns(QPainter& painter, const QRect& area, int item, const std::optional<ItemRecord>& record) const;

    std::optional<CImageList> m_images;
    Qt::Alignment m_alignment = Qt::AlignHCenter;
    QList<int> m_columnWidths;
};

Q_DECLARE_METATYPE(CCustomComboBox::ItemRecord)
