#include "tests/widgets/WidgetImages.h"
#include "widgets/CustomToolBar.h"
#include "widgets/ResourceImage.h"

#include <QAction>
#include <QMainWindow>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {

const QMap<int, QColor> kBitmaps = {
    {325, QColor(0, 160, 0)}, {326, QColor(200, 0, 0)}, {327, QColor(0, 0, 200)}, {328, QColor(230, 200, 0)}};

// The main frame's bar: Config, Start and Stop (one check group across the
// separators), Help, each followed by a separator.
struct FrameWithToolBar {
    QMainWindow frame;
    CCustomToolBar toolbar;

    explicit FrameWithToolBar(bool list = false)
    {
        frame.resize(600, 300);
        toolbar.Create(&frame, 32, 32, list);
        toolbar.AddButton(510, 326, QStringLiteral("Config"), CCustomToolBar::PlainButton);
        toolbar.AddSeparator();
        toolbar.AddButton(511, 325, QStringLiteral("Start"), CCustomToolBar::CheckGroupButton);
        toolbar.AddSeparator();
        toolbar.AddButton(512, 328, QStringLiteral("Stop"), CCustomToolBar::CheckGroupButton);
        toolbar.AddSeparator();
        toolbar.AddButton(513, 326, QStringLiteral("Help"), CCustomToolBar::PlainButton);
        toolbar.AddSeparator();
        frame.show();
    }
};

// Rows (or columns) of the rendered button that hold the colour, and those that hold dark text.
struct Extent {
    int first = INT_MAX;
    int last = INT_MIN;
    void add(int at)
    {
        first = qMin(first, at);
        last = qMax(last, at);
    }
};

} // namespace

class CustomToolBarTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void barSitsAtTheTopOfItsFrame();
    void aBitmapAlreadyAddedIsReused();
    void aMissingBitmapKeepsItsPlace();
    void checkGroupRunsAcrossSeparators();
    void aPlainButtonEndsTheGroup();
    void buttonsReportTheirCommand();
    void textStandsBesideOrBelowTheImage_data();
    void textStandsBesideOrBelowTheImage();
    void buttonWidthAndHeight();

private:
    QTemporaryDir m_pictures;
};

void CustomToolBarTest::initTestCase()
{
    QDir(m_pictures.path()).mkpath(QStringLiteral("bitmap"));
    for (auto it = kBitmaps.begin(); it != kBitmaps.end(); ++it) {
        WidgetImages::filledPixmap(QSize(32, 32), it.value())
            .save(m_pictures.filePath(QStringLiteral("bitmap/%1.png").arg(it.key())));
    }
    ResourceImage::AddSearchFolder(m_pictures.path());
}

void CustomToolBarTest::barSitsAtTheTopOfItsFrame()
{
    FrameWithToolBar bar;
    QCOMPARE(bar.toolbar.objectName(), QStringLiteral("id59392"));
    QCOMPARE(bar.frame.toolBarArea(&bar.toolbar), Qt::TopToolBarArea);
    QCOMPARE(bar.toolbar.iconSize(), QSize(32, 32));
}

void CustomToolBarTest::aBitmapAlreadyAddedIsReused()
{
    FrameWithToolBar bar;
    QCOMPARE(bar.toolbar.GetImageList().GetImageCount(), 3);
    QCOMPARE(bar.toolbar.GetButtonImage(513), bar.toolbar.GetButtonImage(510));
    QCOMPARE(bar.toolbar.GetImageList().GetImage(bar.toolbar.GetButtonImage(513)).toImage().pixelColor(5, 5),
        kBitmaps[326]);

    // Switching Start to its running picture adds it once; switching back adds nothing.
    bar.toolbar.SetButtonImage(511, 327);
    QCOMPARE(bar.toolbar.GetButtonImage(511), 3);
    bar.toolbar.SetButtonImage(511, 325);
    bar.toolbar.SetButtonImage(511, 327);
    QCOMPARE(bar.toolbar.GetImageList().GetImageCount(), 4);
    const QImage icon = bar.toolbar.GetButton(511)->icon().pixmap(32, 32).toImage();
    QCOMPARE(icon.pixelColor(16, 16), kBitmaps[327]);
}

void CustomToolBarTest::aMissingBitmapKeepsItsPlace()
{
    FrameWithToolBar bar;
    bar.toolbar.AddButton(600, 9999, QString(), CCustomToolBar::PlainButton);
    bar.toolbar.AddButton(601, 327, QString(), CCustomToolBar::PlainButton);
    QCOMPARE(bar.toolbar.GetButtonImage(600), 3);
    QCOMPARE(bar.toolbar.GetButtonImage(601), 4);
    QCOMPARE(bar.toolbar.GetImageList().GetImage(4).toImage().pixelColor(1, 1), kBitmaps[327]);
}

void CustomToolBarTest::checkGroupRunsAcrossSeparators()
{
    FrameWithToolBar bar;
    QVERIFY(!bar.toolbar.GetButton(510)->isCheckable());
    bar.toolbar.CheckButton(512);
    QVERIFY(bar.toolbar.GetButton(512)->isChecked());

    QTest::mouseClick(bar.toolbar.GetButtonWidget(511), Qt::LeftButton);
    QVERIFY(bar.toolbar.GetButton(511)->isChecked());
    QVERIFY(!bar.toolbar.GetButton(512)->isChecked());
    // Pressing the pressed button keeps it pressed.
    QTest::mouseClick(bar.toolbar.GetButtonWidget(511), Qt::LeftButton);
    QVERIFY(bar.toolbar.GetButton(511)->isChecked());
}

void CustomToolBarTest::aPlainButtonEndsTheGroup()
{
    QMainWindow frame;
    CCustomToolBar toolbar;
    toolbar.Create(&frame, 16, 16, true);
    toolbar.AddButton(1, 325, QStringLiteral("a"), CCustomToolBar::CheckGroupButton);
    toolbar.AddButton(2, 326, QStringLiteral("b"), CCustomToolBar::PlainButton);
    toolbar.AddButton(3, 327, QStringLiteral("c"), CCustomToolBar::CheckGroupButton);
    toolbar.CheckButton(1);
    toolbar.CheckButton(3);
    QVERIFY(toolbar.GetButton(1)->isChecked());
    QVERIFY(toolbar.GetButton(3)->isChecked());
}

void CustomToolBarTest::buttonsReportTheirCommand()
{
    FrameWithToolBar bar;
    QSignalSpy commands(&bar.toolbar, &CCustomToolBar::CommandTriggered);
    QTest::mouseClick(bar.toolbar.GetButtonWidget(513), Qt::LeftButton);
    QTest::mouseClick(bar.toolbar.GetButtonWidget(511), Qt::LeftButton);
    QCOMPARE(commands.size(), 2);
    QCOMPARE(commands[0][0].toInt(), 513);
    QCOMPARE(commands[1][0].toInt(), 511);
}

void CustomToolBarTest::textStandsBesideOrBelowTheImage_data()
{
    QTest::addColumn<bool>("list");
    QTest::newRow("below") << false;
    QTest::newRow("beside") << true;
}

void CustomToolBarTest::textStandsBesideOrBelowTheImage()
{
    QFETCH(bool, list);
    FrameWithToolBar bar(list);
    QVERIFY(QTest::qWaitForWindowExposed(&bar.frame));
    QToolButton* config = bar.toolbar.GetButtonWidget(510);
    const QImage image = WidgetImages::render(*config);
    WidgetImages::saveArtefact(image, list ? QStringLiteral("toolbar-button-beside") : QStringLiteral("toolbar-button-below"));

    Extent imageX, imageY, textX, textY;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (pixel == kBitmaps[326]) {
                imageX.add(x);
                imageY.add(y);
            } else if (qGray(pixel.rgb()) < 90) {
                textX.add(x);
                textY.add(y);
            }
        }
    }
    QCOMPARE(imageX.last - imageX.first + 1, 32);
    QCOMPARE(imageY.last - imageY.first + 1, 32);
    QVERIFY(textX.first <= textX.last);
    if (list)
        QVERIFY(textX.first > imageX.last);
    else
        QVERIFY(textY.first > imageY.last);
}

void CustomToolBarTest::buttonWidthAndHeight()
{
    FrameWithToolBar bar;
    bar.toolbar.SetButtonHeight(40);
    bar.toolbar.SetButtonWidth(90);
    QVERIFY(QTest::qWaitForWindowExposed(&bar.frame));
    for (int command : {510, 511, 512, 513})
        QCOMPARE(bar.toolbar.GetButtonWidget(command)->size(), QSize(90, 40));
    // Buttons added later take the same size.
    bar.toolbar.AddButton(514, 327, QStringLiteral("More"), CCustomToolBar::PlainButton);
    QTRY_COMPARE(bar.toolbar.GetButtonWidget(514)->size(), QSize(90, 40));
}

QTEST_MAIN(CustomToolBarTest)
#include "CustomToolBarTest.moc"
