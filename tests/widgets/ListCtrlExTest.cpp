#include "tests/widgets/WidgetImages.h"
#include "platform/NamedLock.h"
#include "widgets/ListCellPainter.h"
#include "widgets/ListCtrlEx.h"

#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <thread>

using namespace ListCtrlEx;
using WidgetImages::describe;
using WidgetImages::near;

namespace {

const QColor kImageColours[] = {QColor(200, 0, 0), QColor(0, 150, 0), QColor(0, 0, 200), QColor(120, 0, 120)};

CImageList fourColourImages()
{
    CImageList images(32, 32);
    for (const QColor& colour : kImageColours)
        images.Add(WidgetImages::filledPixmap(QSize(32, 32), colour));
    return images;
}

// A list shaped like the cell progress window: a text column with images and
// a progress column, rows as high as the 32-pixel images allow.
struct ProgressList {
    CListCtrlEx list;

    explicit ProgressList(int rows = 3)
    {
        list.resize(300, 200);
        list.SetCellImageList(fourColourImages(), SmallImages);
        list.InsertColumnEx(0, QStringLiteral("Cell"), 80, Text, AlignCentre);
        list.InsertColumnEx(1, QStringLiteral("Progress"), 160, Progress, AlignCentre);
        for (int row = 0; row < rows; ++row) {
            list.InsertItem(row, QStringLiteral("Cell %1").arg(row));
            list.SetCellProgressMax(row, 1, 100);
        }
        list.show();
    }

    QImage image() { return WidgetImages::render(list); }
    // A cell's rectangle in the list's own coordinates, as grab() shows it.
    QRect cellRect(int row, int column) const
    {
        return list.GetCellRect(row, column)->translated(list.viewport()->mapTo(&list, QPoint(0, 0)));
    }
    QPoint cellCentre(int row, int column) const { return list.GetCellRect(row, column)->center(); }
};

// The list beside a line edit in a shown window, so that focus changes can be seen.
struct ListBesideEdit {
    QWidget window;
    QLineEdit* edit = new QLineEdit(&window);
    ProgressList shown;

    explicit ListBesideEdit(int rows = 3)
        : shown(rows)
    {
        shown.list.setParent(&window);
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(edit);
        layout->addWidget(&shown.list);
        window.show();
        window.activateWindow();
    }
    // The list belongs to the fixture, not to the window.
    ~ListBesideEdit() { shown.list.setParent(nullptr); }
};

QRect barFrame(const QRect& cell) { return cell.adjusted(3, 2, -2, -2); }
QRect barArea(const QRect& cell) { return barFrame(cell).adjusted(3, 3, -3, -3); }

int countPixels(const QImage& image, const QRect& area, QColor colour)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            count += image.pixelColor(x, y) == colour;
    }
    return count;
}

} // namespace

class ListCtrlExTest : public QObject {
    Q_OBJECT

private slots:
    void progressFillsItsShareOfTheBar_data();
    void progressFillsItsShareOfTheBar();
    void progressColours_data();
    void progressColours();
    void progressBarLeavesTheImageSquareEmpty();
    void selectedRowIsPaintedWithTheGradient();
    void textCellPlacesImageAndText_data();
    void textCellPlacesImageAndText();
    void rightClickNeitherSelectsNorFocuses();
    void leftClickSelectsAndFocuses();
    void scrollingTakesTheFocus();
    void hitTestAndCellRectangles_data();
    void hitTestAndCellRectangles();
    void deletingRowZeroMovesLaterAttributesUp();
    void deletingAMissingRowFails();
    void insertingARowKeepsEachRowsAttributes();
    void clearingLeavesNoAttributesBehind();
    void clearingHoldsTheNamedLock();
    void unregisteredColumnsAreText();
};

void ListCtrlExTest::progressFillsItsShareOfTheBar_data()
{
    QTest::addColumn<uint>("position");
    QTest::addColumn<uint>("maximum");
    QTest::addColumn<double>("fraction");
    QTest::addColumn<QString>("text");
    QTest::newRow("nothing done") << 0u << 100u << 0.0 << "0.00%";
    QTest::newRow("zero maximum") << 40u << 0u << 0.0 << "0.00%";
    QTest::newRow("half") << 50u << 100u << 0.5 << "50.00%";
    QTest::newRow("a third") << 1u << 3u << 1.0 / 3 << "33.33%";
    QTest::newRow("above maximum") << 150u << 100u << 1.0 << "100.00%";
    QTest::newRow("whole") << 100u << 100u << 1.0 << "100.00%";
}

void ListCtrlExTest::progressFillsItsShareOfTheBar()
{
    QFETCH(uint, position);
    QFETCH(uint, maximum);
    QFETCH(double, fraction);
    QFETCH(QString, text);
    QCOMPARE(ProgressFraction(position, maximum), fraction);

    ProgressList shown;
    QVERIFY(QTest::qWaitForWindowExposed(&shown.list));
    shown.list.SetShowPercent(true);
    shown.list.SetCellProgressMax(0, 1, maximum);
    shown.list.SetCellProgress(0, 1, position, ProgressRunning);
    const QImage image = shown.image();
    WidgetImages::saveArtefact(image, QStringLiteral("progress-%1-of-%2").arg(position).arg(maximum));

    // Along the bar's second pixel row, above the text, the fill runs from the
    // bar's left edge for the share of the frame's width, cut at the bar's end.
    const QRect cell = shown.cellRect(0, 1);
    const QRect bar = barArea(cell);
    const int expectedFill = qMin(int(fraction * barFrame(cell).width()), bar.width());
    const QColor window = shown.list.palette().color(QPalette::Base);
    const int y = bar.top() + 1;
    for (int x = bar.left(); x <= bar.right(); ++x) {
        const QColor pixel = image.pixelColor(x, y);
        const bool filled = x < bar.left() + expectedFill;
        QVERIFY2(filled ? near(pixel, QColor(247, 227, 162), 20) : pixel == window,
            qPrintable(QStringLiteral("x %1: %2").arg(x - bar.left()).arg(describe(pixel))));
    }

    // The percentage is the very text the cell would show had it been written there.
    ProgressList written;
    QVERIFY(QTest::qWaitForWindowExposed(&written.list));
    written.list.SetCellProgressMax(0, 1, maximum);
    written.list.SetCellProgress(0, 1, position, ProgressRunning);
    written.list.SetItemText(0, 1, text);
    QCOMPARE(image.copy(cell), written.image().copy(cell));
    written.list.SetItemText(0, 1, QStringLiteral("12.34%"));
    QVERIFY(image.copy(cell) != written.image().copy(cell));
}

void ListCtrlExTest::progressColours_data()
{
    QTest::addColumn<int>("colour");
    QTest::addColumn<QColor>("top");
    QTest::addColumn<QColor>("bottom");
    QTest::newRow("running") << 0 << QColor(247, 227, 162) << QColor(238, 148, 26);
    QTest::newRow("passed") << 1 << QColor(170, 240, 170) << QColor(45, 210, 50);
    QTest::newRow("failed") << 2 << QColor(254, 205, 205) << QColor(255, 7, 7);
}

void ListCtrlExTest::progressColours()
{
    QFETCH(int, colour);
    QFETCH(QColor, top);
    QFETCH(QColor, bottom);
    ProgressList shown;
    QVERIFY(QTest::qWaitForWindowExposed(&shown.list));
    shown.list.SetCellProgress(1, 1, 100, colour);
    const QImage image = shown.image();
    WidgetImages::saveArtefact(image, QStringLiteral("progress-colour-%1").arg(colour));

    // The left end of the bar, clear of the centred text.
    const QRect bar = barArea(shown.cellRect(1, 1));
    const QColor topPixel = image.pixelColor(bar.left() + 2, bar.top());
    const QColor bottomPixel = image.pixelColor(bar.left() + 2, bar.bottom());
    QVERIFY2(near(topPixel, top), qPrintable(describe(topPixel)));
    QVERIFY2(near(bottomPixel, bottom, 12), qPrintable(describe(bottomPixel)));
}

void ListCtrlExTest::progressBarLeavesTheImageSquareEmpty()
{
    ProgressList shown;
    QVERIFY(QTest::qWaitForWindowExposed(&shown.list));
    shown.list.SetCellImage(0, 1, 2);
    shown.list.SetCellProgress(0, 1, 100, ProgressPassed);
    const QImage image = shown.image();
    const QRect cell = shown.cellRect(0, 1);
    const QColor window = shown.list.palette().color(QPalette::Base);
    const QRect square(cell.left(), cell.top(), cell.height(), cell.height());
    QCOMPARE(countPixels(image, square, window), square.width() * square.height());
    const QRect bar = cell.adjusted(cell.height() + 3 + 3, 2 + 3, -2 - 3, -2 - 3);
    QVERIFY(near(image.pixelColor(bar.left(), bar.top()), QColor(170, 240, 170)));
    QCOMPARE(image.pixelColor(bar.left() - 1, bar.top()), window);
}

void ListCtrlExTest::selectedRowIsPaintedWithTheGradient()
{
    ProgressList shown;
    QVERIFY(QTest::qWaitForWindowExposed(&shown.list));
    shown.list.SetShowPercent(true);
    shown.list.selectRow(1);
    const QImage image = shown.image();
    WidgetImages::saveArtefact(image, QStringLiteral("selected-row"));

    // A text cell: gradient from its top to one pixel above its bottom, which
    // stays free for the grid line. Sampled right of the image box.
    const QRect text = shown.cellRect(1, 0);
    const int x = text.right() - 2;
    QVERIFY2(near(image.pixelColor(x, text.top()), ListCellPainter::SelectedTop(), 3),
        qPrintable(describe(image.pixelColor(x, text.top()))));
    QVERIFY2(near(image.pixelColor(x, text.bottom() - 1), ListCellPainter::SelectedBottom(), 3),
        qPrintable(describe(image.pixelColor(x, text.bottom() - 1))));
    const QColor window = shown.list.palette().color(QPalette::Base);
    QCOMPARE(image.pixelColor(x, text.bottom()), window);
    // A progress cell is filled to its last pixel row.
    const QRect progress = shown.cellRect(1, 1);
    QVERIFY(near(image.pixelColor(progress.left() + 1, progress.bottom()), ListCellPainter::SelectedBottom(), 3));
    // Rows not selected keep the window colour.
    QCOMPARE(image.pixelColor(x, shown.cellRect(0, 0).top()), window);
    QCOMPARE(image.pixelColor(progress.left() + 1, shown.cellRect(2, 1).bottom()), window);
}

void ListCtrlExTest::textCellPlacesImageAndText_data()
{
    QTest::addColumn<int>("alignment");
    QTest::addColumn<int>("image");
    QTest::newRow("left, no image") << int(AlignLeft) << -1;
    QTest::newRow("left, image") << int(AlignLeft) << 3;
    QTest::newRow("right, image") << int(AlignRight) << 1;
    QTest::newRow("centre, no image") << int(AlignCentre) << -1;
}

void ListCtrlExTest::textCellPlacesImageAndText()
{
    QFETCH(int, alignment);
    QFETCH(int, image);
    CListCtrlEx list;
    list.resize(300, 120);
    list.SetCellImageList(fourColourImages(), SmallImages);
    list.InsertColumnEx(0, QStringLiteral("Time"), 200, Text, alignment);
    list.InsertItem(0, QStringLiteral("IIII"));
    list.SetCellImage(0, 0, image);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    const QImage shot = WidgetImages::render(list);
    const QRect cell = list.GetCellRect(0, 0)->translated(list.viewport()->mapTo(&list, QPoint(0, 0)));

    int textLeft = cell.left() + 3;
    if (image >= 0) {
        // The image sits at the top-left corner, unscaled, in a box one pixel
        // narrower than the cell is high; the text starts 3 px after the box.
        QCOMPARE(cell.height(), 33);
        QCOMPARE(shot.pixelColor(cell.topLeft()), kImageColours[image]);
        QCOMPARE(shot.pixelColor(cell.left() + 31, cell.top() + 31), kImageColours[image]);
        QVERIFY(shot.pixelColor(cell.left() + 31, cell.top() + 32) != kImageColours[image]);
        textLeft = cell.left() + cell.height() - 1 + 3;
    }

    // Where the dark glyph pixels lie.
    int inkLeft = INT_MAX, inkRight = INT_MIN;
    for (int y = cell.top(); y <= cell.bottom(); ++y) {
        for (int x = cell.left(); x <= cell.right(); ++x) {
            if (qGray(shot.pixel(x, y)) < 100 && !(image >= 0 && x < cell.left() + 32)) {
                inkLeft = qMin(inkLeft, x);
                inkRight = qMax(inkRight, x);
            }
        }
    }
    QVERIFY(inkLeft <= inkRight);
    if (alignment == AlignLeft) {
        QVERIFY2(inkLeft >= textLeft && inkLeft <= textLeft + 2, qPrintable(QString::number(inkLeft - textLeft)));
    } else if (alignment == AlignRight) {
        QVERIFY2(inkRight <= cell.right() && inkRight >= cell.right() - 3, qPrintable(QString::number(cell.right() - inkRight)));
    } else {
        const int textCentre = (textLeft + cell.right()) / 2;
        QVERIFY2(qAbs((inkLeft + inkRight) / 2 - textCentre) <= 2, qPrintable(QString::number(inkLeft)));
    }
}

void ListCtrlExTest::rightClickNeitherSelectsNorFocuses()
{
    ListBesideEdit beside;
    QVERIFY(QTest::qWaitForWindowActive(&beside.window));
    QLineEdit* edit = beside.edit;
    ProgressList& shown = beside.shown;
    edit->setFocus();

    QTest::mouseClick(shown.list.viewport(), Qt::RightButton, Qt::NoModifier, shown.cellCentre(1, 0));
    QTest::mouseDClick(shown.list.viewport(), Qt::RightButton, Qt::NoModifier, shown.cellCentre(2, 1));
    QVERIFY(shown.list.selectionModel()->selectedRows().isEmpty());
    QVERIFY(edit->hasFocus());
}

void ListCtrlExTest::leftClickSelectsAndFocuses()
{
    ListBesideEdit beside;
    QVERIFY(QTest::qWaitForWindowActive(&beside.window));
    QLineEdit* edit = beside.edit;
    ProgressList& shown = beside.shown;
    edit->setFocus();

    QTest::mouseClick(shown.list.viewport(), Qt::LeftButton, Qt::NoModifier, shown.cellCentre(1, 1));
    QVERIFY(shown.list.hasFocus());
    QVERIFY(shown.list.selectionModel()->isRowSelected(1, QModelIndex()));
    QTest::keyClick(&shown.list, Qt::Key_Down);
    QVERIFY(shown.list.selectionModel()->isRowSelected(2, QModelIndex()));
}

void ListCtrlExTest::scrollingTakesTheFocus()
{
    ListBesideEdit beside(60);
    QVERIFY(QTest::qWaitForWindowActive(&beside.window));
    QLineEdit* edit = beside.edit;
    ProgressList& shown = beside.shown;

    // Made visible by the program: no focus taken.
    edit->setFocus();
    shown.list.scrollToItem(shown.list.item(40, 0));
    QVERIFY(edit->hasFocus());
    shown.list.scrollToTop();

    // Scrolled by the user with the bar.
    shown.list.verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QVERIFY(shown.list.hasFocus());
    QCOMPARE(shown.list.verticalScrollBar()->value(), 1);

    // With the wheel.
    edit->setFocus();
    const QPoint centre = shown.list.viewport()->rect().center();
    QWheelEvent wheel(centre, shown.list.viewport()->mapToGlobal(centre), QPoint(), QPoint(0, -120), Qt::NoButton,
        Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(shown.list.viewport(), &wheel);
    QVERIFY(shown.list.hasFocus());
    QVERIFY(shown.list.verticalScrollBar()->value() > 1);
}

void ListCtrlExTest::hitTestAndCellRectangles_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::newRow("first cell") << 0 << 0;
    QTest::newRow("progress cell") << 2 << 1;
    QTest::newRow("middle row") << 1 << 0;
}

void ListCtrlExTest::hitTestAndCellRectangles()
{
    QFETCH(int, row);
    QFETCH(int, column);
    ProgressList shown;
    QVERIFY(QTest::qWaitForWindowExposed(&shown.list));
    const QRect rect = *shown.list.GetCellRect(row, column);
    QCOMPARE(rect.width(), column == 0 ? 80 : 160);
    QCOMPARE(rect.height(), 33);
    QCOMPARE(rect.top(), row * 33);
    for (QPoint corner : {rect.topLeft(), rect.bottomRight(), rect.center()})
        QCOMPARE(shown.list.HitTestCell(corner), (Cell{row, column}));

    const int belowRows = 3 * 33 + 5;
    QCOMPARE(shown.list.HitTestCell(QPoint(10, belowRows)), (Cell{-1, -1}));
    QCOMPARE(shown.list.HitTestCell(QPoint(250, 5)), (Cell{-1, -1}));
    QVERIFY(!shown.list.GetCellRect(3, 0));
    QVERIFY(!shown.list.GetCellRect(0, 2));
    QVERIFY(!shown.list.GetCellRect(-1, 0));
}

void ListCtrlExTest::deletingRowZeroMovesLaterAttributesUp()
{
    ProgressList shown;
    QVERIFY(QTest::qWaitForWindowExposed(&shown.list));
    for (int row = 0; row < 3; ++row) {
        shown.list.SetCellImage(row, 0, row + 1);
        shown.list.SetCellProgress(row, 1, 10 * (row + 1), row);
    }
    QVERIFY(shown.list.DeleteRow(0));
    QCOMPARE(shown.list.rowCount(), 2);
    QCOMPARE(shown.list.GetItemText(0, 0), QStringLiteral("Cell 1"));
    QCOMPARE(shown.list.GetCellInfo(0, 0).image, 2);
    QCOMPARE(shown.list.GetCellInfo(1, 0).image, 3);
    QCOMPARE(shown.list.GetCellInfo(0, 1).progressPosition, 20u);
    QCOMPARE(shown.list.GetCellInfo(1, 1).progressColour, int(ProgressFailed));

    const QImage image = shown.image();
    WidgetImages::saveArtefact(image, QStringLiteral("row-0-deleted"));
    QCOMPARE(image.pixelColor(shown.cellRect(0, 0).topLeft()), kImageColours[2]);
    QCOMPARE(image.pixelColor(shown.cellRect(1, 0).topLeft()), kImageColours[3]);
}

void ListCtrlExTest::deletingAMissingRowFails()
{
    ProgressList shown;
    shown.list.SetCellImage(2, 0, 1);
    shown.list.SetCellImage(3, 0, 2);
    QVERIFY(!shown.list.DeleteRow(3));
    QVERIFY(!shown.list.DeleteRow(-1));
    QCOMPARE(shown.list.rowCount(), 3);
    QCOMPARE(shown.list.GetCellInfo(2, 0).image, 1);
    // The image set on a row that did not exist was not kept for the row added there.
    shown.list.InsertItem(3, QStringLiteral("Cell 3"));
    QCOMPARE(shown.list.GetCellInfo(3, 0).image, -1);
}

void ListCtrlExTest::insertingARowKeepsEachRowsAttributes()
{
    ProgressList shown;
    shown.list.SetCellImage(0, 0, 1);
    shown.list.SetCellImage(2, 0, 3);
    shown.list.InsertItem(1, QStringLiteral("new"));
    QCOMPARE(shown.list.GetCellInfo(0, 0).image, 1);
    QCOMPARE(shown.list.GetCellInfo(1, 0).image, -1);
    QCOMPARE(shown.list.GetCellInfo(3, 0).image, 3);
    QCOMPARE(shown.list.GetItemText(3, 0), QStringLiteral("Cell 2"));
}

void ListCtrlExTest::clearingLeavesNoAttributesBehind()
{
    ProgressList shown;
    QVERIFY(QTest::qWaitForWindowExposed(&shown.list));
    for (int row = 0; row < 3; ++row) {
        shown.list.SetCellImage(row, 0, row);
        shown.list.SetCellProgress(row, 1, 70, ProgressFailed);
    }
    shown.list.DeleteAllRows();
    QCOMPARE(shown.list.rowCount(), 0);

    QCOMPARE(shown.list.InsertItem(0, QStringLiteral("again")), 0);
    QCOMPARE(shown.list.GetCellInfo(0, 0).image, -1);
    QCOMPARE(shown.list.GetCellInfo(0, 1).progressPosition, 0u);
    const QImage image = shown.image();
    const QRect cell = shown.cellRect(0, 0);
    const QColor window = shown.list.palette().color(QPalette::Base);
    QCOMPARE(image.pixelColor(cell.topLeft()), window);
    QCOMPARE(image.pixelColor(cell.left() + 20, cell.top() + 20), window);
}

void ListCtrlExTest::clearingHoldsTheNamedLock()
{
    ProgressList shown;
    QList<bool> lockFreeDuringDeletion;
    connect(shown.list.model(), &QAbstractItemModel::rowsAboutToBeRemoved, this, [&] {
        bool taken = false;
        std::thread other([&] {
            NamedLock lock(QStringLiteral("MyMutex"));
            taken = lock.tryLock();
            if (taken)
                lock.unlock();
        });
        other.join();
        lockFreeDuringDeletion << taken;
    });
    shown.list.DeleteAllRows();
    QCOMPARE(lockFreeDuringDeletion, (QList<bool>{false, false, false}));

    NamedLock lock(QStringLiteral("MyMutex"));
    bool freeAfterwards = false;
    std::thread other([&] {
        NamedLock sameLock(QStringLiteral("MyMutex"));
        freeAfterwards = sameLock.tryLock();
        if (freeAfterwards)
            sameLock.unlock();
    });
    other.join();
    QVERIFY(freeAfterwards);
}

void ListCtrlExTest::unregisteredColumnsAreText()
{
    CListCtrlEx list;
    QCOMPARE(list.InsertColumnEx(5, QStringLiteral("a"), 50, Progress, AlignLeft), 0);
    QCOMPARE(list.InsertColumnEx(-1, QStringLiteral("b"), 50, Progress, AlignLeft), -1);
    QCOMPARE(list.GetColumnType(0), Progress);
    QCOMPARE(list.GetColumnType(7), Text);
}

QTEST_MAIN(ListCtrlExTest)
#include "ListCtrlExTest.moc"
