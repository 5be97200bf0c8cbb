#include "tests/widgets/WidgetImages.h"
#include "widgets/FlatSplitterWnd.h"

#include <QTest>

using Tracks = QList<CFlatSplitterWnd::TrackInfo>;
Q_DECLARE_METATYPE(Tracks)

namespace {

// One row of two columns like the download screen's top area, or two rows of
// one column like its right-hand side with the 80-pixel grid row.
struct Splitter {
    CFlatSplitterWnd splitter;
    QWidget* first = new QWidget;
    QWidget* second = new QWidget;

    Splitter(int rows, int columns, QSize size)
    {
        splitter.resize(size);
        splitter.CreateStatic(rows, columns);
        splitter.CreateView(0, 0, first, QSize(100, 80));
        splitter.CreateView(rows - 1, columns - 1, second, QSize(300, 300));
        splitter.show();
    }
};

void drag(QWidget& widget, QPoint from, QPoint to)
{
    QTest::mousePress(&widget, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(&widget, (from + to) / 2);
    QTest::mouseMove(&widget, to);
    QTest::mouseRelease(&widget, Qt::LeftButton, Qt::NoModifier, to);
}

} // namespace

class FlatSplitterWndTest : public QObject {
    Q_OBJECT

private slots:
    void layoutRule_data();
    void layoutRule();
    void panesFillTheClientAreaLessTheBorder();
    void barIsPaintedFlat();
    void barCanBeDraggedByDefault();
    void fixedBarCannotBeDragged();
};

void FlatSplitterWndTest::layoutRule_data()
{
    QTest::addColumn<Tracks>("tracks");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("gap");
    QTest::addColumn<QList<int>>("sizes");
    QTest::newRow("fixed grid row") << Tracks{{80, 80}, {220, 10}} << 300 << 1 << QList<int>{80, 219};
    QTest::newRow("last takes the rest") << Tracks{{50, 0}, {10, 0}} << 300 << 10 << QList<int>{50, 240};
    QTest::newRow("ideal below minimum") << Tracks{{5, 10}, {0, 0}} << 100 << 1 << QList<int>{0, 99};
    QTest::newRow("first no longer fits") << Tracks{{150, 0}, {0, 0}} << 100 << 10 << QList<int>{100, 0};
    QTest::newRow("three panes") << Tracks{{30, 0}, {40, 0}, {999, 0}} << 100 << 5 << QList<int>{30, 40, 20};
    QTest::newRow("middle cut short") << Tracks{{60, 0}, {50, 0}, {0, 0}} << 100 << 5 << QList<int>{60, 35, 0};
    QTest::newRow("single pane") << Tracks{{10, 0}} << 77 << 1 << QList<int>{77};
}

void FlatSplitterWndTest::layoutRule()
{
    QFETCH(Tracks, tracks);
    QFETCH(int, length);
    QFETCH(int, gap);
    QFETCH(QList<int>, sizes);
    QCOMPARE(CFlatSplitterWnd::DivideLength(tracks, length, gap), sizes);
}

void FlatSplitterWndTest::panesFillTheClientAreaLessTheBorder()
{
    Splitter two(2, 1, QSize(300, 400));
    two.splitter.SetBarSize(1);
    two.splitter.SetRowInfo(0, 80, 80);
    two.splitter.SetRowInfo(1, 400 - 80, 10);
    two.splitter.RecalcLayout();
    QCOMPARE(two.first->geometry(), QRect(1, 1, 298, 80));
    QCOMPARE(two.second->geometry(), QRect(1, 82, 298, 400 - 2 - 81));

    // Growing the window leaves the grid row alone.
    two.splitter.resize(300, 600);
    QCOMPARE(two.first->geometry(), QRect(1, 1, 298, 80));
    QCOMPARE(two.second->height(), 600 - 2 - 81);
}

void FlatSplitterWndTest::barIsPaintedFlat()
{
    Splitter two(1, 2, QSize(300, 200));
    two.splitter.SetBarSize(10);
    QVERIFY(QTest::qWaitForWindowExposed(&two.splitter));
    const QImage image = WidgetImages::render(two.splitter);
    WidgetImages::saveArtefact(image, QStringLiteral("splitter"));
    const QPalette& palette = two.splitter.palette();
    // The bar lies between the first pane (1 px border + 100 px) and the second.
    for (int x = 101; x < 111; ++x)
        QCOMPARE(image.pixel(x, 100), palette.color(QPalette::Window).rgb());
    QCOMPARE(two.second->x(), 111);
    QCOMPARE(image.pixel(0, 100), palette.color(QPalette::Mid).rgb());
    QCOMPARE(image.pixel(150, 0), palette.color(QPalette::Mid).rgb());
    QCOMPARE(image.pixel(299, 100), palette.color(QPalette::Midlight).rgb());
    QCOMPARE(image.pixel(150, 199), palette.color(QPalette::Midlight).rgb());
}

void FlatSplitterWndTest::barCanBeDraggedByDefault()
{
    Splitter two(1, 2, QSize(300, 200));
    two.splitter.SetBarSize(10);
    QVERIFY(QTest::qWaitForWindowExposed(&two.splitter));
    QTest::mouseMove(&two.splitter, QPoint(105, 50));
    QCOMPARE(two.splitter.cursor().shape(), Qt::SplitHCursor);

    drag(two.splitter, QPoint(105, 50), QPoint(145, 60));
    QCOMPARE(two.first->width(), 140);
    QCOMPARE(two.second->geometry(), QRect(151, 1, 300 - 2 - 150, 198));
    QCOMPARE(two.splitter.GetColumnInfo(0).ideal, 140);
}

void FlatSplitterWndTest::fixedBarCannotBeDragged()
{
    Splitter two(2, 1, QSize(300, 400));
    two.splitter.SetBarSize(1);
    two.splitter.AllowTracking(false);
    QVERIFY(QTest::qWaitForWindowExposed(&two.splitter));
    const QRect first = two.first->geometry();
    const QRect second = two.second->geometry();
    const QPoint onBar(150, first.bottom() + 1);

    QTest::mouseMove(&two.splitter, onBar);
    QCOMPARE(two.splitter.cursor().shape(), Qt::ArrowCursor);
    drag(two.splitter, onBar, onBar + QPoint(0, 120));
    QCOMPARE(two.first->geometry(), first);
    QCOMPARE(two.second->geometry(), second);
    QCOMPARE(two.splitter.GetRowInfo(0).ideal, 80);
}

QTEST_MAIN(FlatSplitterWndTest)
#include "FlatSplitterWndTest.moc"
