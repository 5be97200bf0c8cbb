#include "widgets/CustomComboBox.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStyledItemDelegate>
#include <QStylePainter>

namespace {

const int kRecordRole = Qt::UserRole + 0x4c52;

// Hands the painting of the drop-down's rows to the combo box.
class ComboItemPainter : public QStyledItemDelegate {
public:
    explicit ComboItemPainter(CCustomComboBox* combo)
        : QStyledItemDelegate(combo)
        , m_combo(combo)
    {
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        m_combo->DrawItem(*painter, option.rect, index.row(), option.state & QStyle::State_Selected);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return QSize(QStyledItemDelegate::sizeHint(option, index).width(), m_combo->ItemHeight());
    }

private:
    CCustomComboBox* m_combo;
};

} // namespace

CCustomComboBox::CCustomComboBox(QWidget* parent)
    : QComboBox(parent)
{
    setItemDelegate(new ComboItemPainter(this));
}

void CCustomComboBox::AddImage(int bitmapId)
{
    if (!m_images)
        m_images.emplace(16, 16);
    m_images->AddBitmap(bitmapId);
}

void CCustomComboBox::SetItemImage(int item, int image)
{
    ChangeItemRecord(item, [image](ItemRecord& record) { record.image = image; });
}

void CCustomComboBox::SetItemBold(int item, bool on)
{
    ChangeItemRecord(item, [on](ItemRecord& record) { record.bold = on; });
}

void CCustomComboBox::SetItemTextColor(int item, const QColor& colour)
{
    ChangeItemRecord(item, [colour](ItemRecord& record) { record.textColour = colour; });
}

void CCustomComboBox::SetColumnText(int item, int column, const QString& text)
{
    ChangeItemRecord(item, [column, text](ItemRecord& record) { record.columnTexts[column] = text; });
}

void CCustomComboBox::SetColumnWidths(const QList<int>& widths)
{
    m_columnWidths = widths;
    update();
}

void CCustomComboBox::SetTextFormat(int flags)
{
    m_alignment = flags == FormatLeft ? Qt::AlignLeft : Qt::AlignHCenter;
    update();
}

std::optional<CCustomComboBox::ItemRecord> CCustomComboBox::GetItemRecord(int item) const
{
    const QVariant data = itemData(item, kRecordRole);
    if (!data.isValid())
        return std::nullopt;
    return data.value<ItemRecord>();
}

template <typename Change>
void CCustomComboBox::ChangeItemRecord(int item, Change change)
{
    if (item < 0 || item >= count())
        return;
    ItemRecord record = GetItemRecord(item).value_or(ItemRecord());
    change(record);
    setItemData(item, QVariant::fromValue(record), kRecordRole);
    update();
}

int CCustomComboBox::ItemHeight() const
{
    const int imageHeight = m_images ? m_images->GetImageSize().height() : 0;
    return qMax(fontMetrics().height(), imageHeight) + 2;
}

void CCustomComboBox::DrawItem(QPainter& painter, const QRect& rect, int item, bool selected) const
{
    if (item < 0 || item >= count())
        return;
    painter.save();
    const std::optional<ItemRecord> record = GetItemRecord(item);
    QColor textColour = palette().color(selected ? QPalette::HighlightedText : QPalette::Text);
    painter.fillRect(rect, palette().color(selected ? QPalette::Highlight : QPalette::Base));
    if (record && (!selected || record->textColour != QColor(Qt::black)))
        textColour = record->textColour;

    QRect textArea = rect.adjusted(1, 0, -1, 0);
    if (m_images) {
        if (record && record->image != -1)
            m_images->Draw(painter, record->image, textArea.topLeft());
        textArea.setLeft(textArea.left() + m_images->GetImageSize().width() + 2);
    }
    QFont font = painter.font();
    font.setWeight(record && record->bold ? QFont::Bold : font.weight());
    painter.setFont(font);
    painter.setPen(textColour);

    if (m_columnWidths.size() < 2)
        painter.drawText(textArea, m_alignment | Qt::AlignVCenter | Qt::TextSingleLine, itemText(item));
    else
        DrawColumns(painter, textArea, item, record);
    painter.restore();
}

void CCustomComboBox::DrawColumns(QPainter& painter, const QRect& area, int item,
    const std::optional<ItemRecord>& record) const
{
    int left = area.left();
    int edge = area.left();
    for (int column = 0; column < m_columnWidths.size(); ++column) {
        const bool last = column == m_columnWidths.size() - 1;
        edge += m_columnWidths[column];
        const int boundary = last ? area.right() + 1 : edge;
        if (!last) {
            const QPen textPen = painter.pen();
            painter.setPen(QColor(192, 192, 192));
            painter.drawLine(boundary, area.top(), boundary, area.bottom());
            painter.setPen(textPen);
        }
        const QString text = column == 0 ? itemText(item)
            : record                     ? record->columnTexts.value(column)
                                         : QString();
        painter.drawText(QRect(left, area.top(), boundary - left, area.height()),
            Qt::AlignCenter | Qt::TextSingleLine, text);
        left = boundary + 1;
    }
}

void CCustomComboBox::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    painter.setFont(font());
    DrawItem(painter, field, currentIndex(), hasFocus());
}
