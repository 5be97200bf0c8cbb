#include "tests/widgets/WidgetImages.h"
#include "widgets/CustomComboBox.h"
#include "widgets/ResourceImage.h"

#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QColor kPackagePicture(200, 0, 0);
const QColor kImagePicture(0, 0, 200);
const QColor kUntouched(255, 0, 255);
const QRect kItemRect(0, 0, 240, 20);

struct Ink {
    int left = INT_MAX;
    int right = INT_MIN;
    int count = 0;
};

// Dark glyph pixels of a colour-free background, right of the given column.
Ink inkOf(const QImage& image, QColor ink, int fromX = 0)
{
    Ink found;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = fromX; x < image.width(); ++x) {
            if (WidgetImages::near(image.pixelColor(x, y), ink, 90)) {
                found.left = qMin(found.left, x);
                found.right = qMax(found.right, x);
                ++found.count;
            }
        }
    }
    return found;
}

} // namespace

class CustomComboBoxTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void anItemWithoutAttributesHasNoImageAndNormalWeight();
    void imageSitsBeforeTheText();
    void noImageStillLeavesItsSpace();
    void boldItemsAreHeavier();
    void selectedItemUsesTheHighlight_data();
    void selectedItemUsesTheHighlight();
    void textAlignment_data();
    void textAlignment();
    void columnsAreDividedByLines();
    void outOfRangeItemsAreIgnored();
    void closedBoxShowsTheCurrentItem();

private:
    QImage draw(int item, bool selected);

    QTemporaryDir m_pictures;
    std::unique_ptr<CCustomComboBox> m_combo;
};

void CustomComboBoxTest::initTestCase()
{
    QDir(m_pictures.path()).mkpath(QStringLiteral("bitmap"));
    WidgetImages::filledPixmap(QSize(16, 16), kPackagePicture).save(m_pictures.filePath(QStringLiteral("bitmap/364.png")));
    WidgetImages::filledPixmap(QSize(16, 16), kImagePicture).save(m_pictures.filePath(QStringLiteral("bitmap/365.png")));
    ResourceImage::AddSearchFolder(m_pictures.path());
}

void CustomComboBoxTest::init()
{
    // The main frame's "Last Used:" list: two pictures, items inserted at the top.
    m_combo = std::make_unique<CCustomComboBox>();
    m_combo->resize(260, 26);
    m_combo->AddImage(364);
    m_combo->AddImage(365);
    m_combo->addItem(QStringLiteral("/data/first.vkb"));
    m_combo->addItem(QStringLiteral("/data/gps.img"));
}

QImage CustomComboBoxTest::draw(int item, bool selected)
{
    QImage image(kItemRect.size(), QImage::Format_ARGB32);
    image.fill(kUntouched);
    QPainter painter(&image);
    painter.setFont(m_combo->font());
    m_combo->DrawItem(painter, kItemRect, item, selected);
    return image;
}

void CustomComboBoxTest::anItemWithoutAttributesHasNoImageAndNormalWeight()
{
    QVERIFY(!m_combo->GetItemRecord(0));
    const QImage image = draw(0, false);
    QCOMPARE(image.pixelColor(1, 0), m_combo->palette().color(QPalette::Base));
    QCOMPARE(inkOf(image, kPackagePicture).count, 0);
    QVERIFY(inkOf(image, Qt::black).count > 0);
}

void CustomComboBoxTest::imageSitsBeforeTheText()
{
    m_combo->SetItemImage(1, 1);
    const QImage image = draw(1, false);
    WidgetImages::saveArtefact(image, QStringLiteral("combo-item"));
    // Unscaled, at the text area's top-left corner, 1 px in from the left.
    QCOMPARE(image.pixelColor(1, 0), kImagePicture);
    QCOMPARE(image.pixelColor(16, 15), kImagePicture);
    QVERIFY(image.pixelColor(17, 0) != kImagePicture);
    QVERIFY(image.pixelColor(1, 16) != kImagePicture);
    QVERIFY(image.pixelColor(0, 0) != kImagePicture);
}

void CustomComboBoxTest::noImageStillLeavesItsSpace()
{
    m_combo->SetTextFormat(CCustomComboBox::FormatLeft);
    m_combo->SetItemImage(0, -1);
    const QImage image = draw(0, false);
    const Ink text = inkOf(image, Qt::black);
    QCOMPARE(inkOf(image, kPackagePicture).count, 0);
    QVERIFY2(text.left >= 1 + 16 + 2 && text.left <= 1 + 16 + 2 + 2, qPrintable(QString::number(text.left)));
}

void CustomComboBoxTest::boldItemsAreHeavier()
{
    const int normal = inkOf(draw(0, false), Qt::black).count;
    m_combo->SetItemBold(0, true);
    const int bold = inkOf(draw(0, false), Qt::black).count;
    QVERIFY2(bold > normal * 11 / 10, qPrintable(QStringLiteral("%1 vs %2").arg(bold).arg(normal)));
    QCOMPARE(m_combo->GetItemRecord(0)->image, -1);
}

void CustomComboBoxTest::selectedItemUsesTheHighlight_data()
{
    QTest::addColumn<QColor>("itemColour");
    QTest::addColumn<bool>("selected");
    QTest::addColumn<bool>("highlightText");
    QTest::newRow("selected, black") << QColor(Qt::black) << true << true;
    QTest::newRow("selected, red") << QColor(220, 0, 0) << true << false;
    QTest::newRow("not selected, red") << QColor(220, 0, 0) << false << false;
}

void CustomComboBoxTest::selectedItemUsesTheHighlight()
{
    QFETCH(QColor, itemColour);
    QFETCH(bool, selected);
    QFETCH(bool, highlightText);
    m_combo->SetItemTextColor(0, itemColour);
    const QImage image = draw(0, selected);
    const QPalette& palette = m_combo->palette();
    QCOMPARE(image.pixelColor(kItemRect.right(), 0), palette.color(selected ? QPalette::Highlight : QPalette::Base));
    const QColor expectedText = highlightText ? palette.color(QPalette::HighlightedText) : itemColour;
    QVERIFY(inkOf(image, expectedText, 20).count > 10);
}

void CustomComboBoxTest::textAlignment_data()
{
    QTest::addColumn<int>("format");
    QTest::newRow("left") << int(CCustomComboBox::FormatLeft);
    QTest::newRow("centre") << int(CCustomComboBox::FormatCentre);
}

void CustomComboBoxTest::textAlignment()
{
    QFETCH(int, format);
    m_combo->SetTextFormat(format);
    m_combo->SetItemImage(0, 0);
    const Ink text = inkOf(draw(0, false), Qt::black, 17);
    const int areaLeft = 1 + 16 + 2;
    const int areaRight = kItemRect.right() - 1;
    if (format == CCustomComboBox::FormatLeft)
        QVERIFY(text.left <= areaLeft + 2);
    else
        QVERIFY(qAbs((text.left + text.right) / 2 - (areaLeft + areaRight) / 2) <= 2);
}

void CustomComboBoxTest::columnsAreDividedByLines()
{
    m_combo->SetColumnWidths({80, 60, 50});
    m_combo->SetColumnText(0, 1, QStringLiteral("V2"));
    m_combo->SetColumnText(0, 2, QStringLiteral("ok"));
    m_combo->SetItemImage(0, 0);
    const QImage image = draw(0, false);
    WidgetImages::saveArtefact(image, QStringLiteral("combo-columns"));

    const int areaLeft = 1 + 16 + 2;
    const QColor line(192, 192, 192);
    for (int y = 0; y < kItemRect.height(); ++y) {
        QCOMPARE(image.pixelColor(areaLeft + 80, y), line);
        QCOMPARE(image.pixelColor(areaLeft + 140, y), line);
    }
    int linesAfterLastBoundary = 0;
    for (int x = areaLeft + 141; x < kItemRect.width(); ++x)
        linesAfterLastBoundary += image.pixelColor(x, 0) == line;
    QCOMPARE(linesAfterLastBoundary, 0);

    // Each text is centred in its own column.
    const Ink second = inkOf(image.copy(areaLeft + 81, 0, 59, 20), Qt::black);
    QVERIFY(second.count > 0);
    QVERIFY(qAbs((second.left + second.right) / 2 - 59 / 2) <= 2);
    const Ink last = inkOf(image.copy(areaLeft + 141, 0, kItemRect.width() - 1 - (areaLeft + 141), 20), Qt::black);
    QVERIFY(last.count > 0);
}

void CustomComboBoxTest::outOfRangeItemsAreIgnored()
{
    m_combo->SetItemBold(2, true);
    m_combo->SetItemImage(-1, 0);
    QVERIFY(!m_combo->GetItemRecord(2));
    const QImage image = draw(2, false);
    QCOMPARE(inkOf(image, kUntouched, 0).count, kItemRect.width() * kItemRect.height());
    m_combo->clear();
    QCOMPARE(inkOf(draw(0, true), kUntouched, 0).count, kItemRect.width() * kItemRect.height());
}

void CustomComboBoxTest::closedBoxShowsTheCurrentItem()
{
    // As the main frame does: insert at the top with its picture and select it.
    m_combo->insertItem(0, QStringLiteral("/data/newest.img"));
    m_combo->SetItemImage(0, 1);
    m_combo->setCurrentIndex(0);
    m_combo->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_combo.get()));
    const QImage image = WidgetImages::render(*m_combo);
    WidgetImages::saveArtefact(image, QStringLiteral("combo-closed"));
    QVERIFY(inkOf(image, kImagePicture, 0).count >= 12 * 12);
}

QTEST_MAIN(CustomComboBoxTest)
#include "CustomComboBoxTest.moc"
