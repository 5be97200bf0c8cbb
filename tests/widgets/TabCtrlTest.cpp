#include "widgets/ImageList.h"
#include "widgets/tabctrl/TabCtrlEx.h"
#include "widgets/tabctrl/TabCtrlLayout.h"
#include "widgets/tabctrl/TabCtrlNotify.h"
#include "widgets/tabctrl/TabCtrlStyle_VS2003_bars_custom1.h"
#include "widgets/tabctrl/TabItem.h"

#include "TextRecorder.h"
#include "WidgetImages.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QTest>
#include <QtMath>
#include <QToolTip>

using TabStrip = TabCtrlEx<TabCtrlStyle_VS2003_bars_custom1>;

class TabCtrlTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void stripHeight_data();
    void stripHeight();
    void twoTabsSitAtNaturalWidthsFromTheLeft();
    void firstTabAddedIsSelectedAndShown();
    void selectingTheCurrentTabTellsNothing();
    void pressSelectsBeforeRelease();
    void disabledTabsCannotBeSelected();
    void otherMouseEventsAreReported();
    void removingTheSelectedTabSelectsANeighbour();
    void squeeze_data();
    void squeeze();
    void textThatDoesNotFitEndsInEllipsis();
    void toolTips_data();
    void toolTips();
    void paintsTheStripTabsAndWindowsArea();
    void noTabsPaintsTheWorkspace();

private:
    TabStrip* makeStrip(int width, TabCtrl::Behavior behavior, const QStringList& texts);

    QWidget* m_host = nullptr;
    CImageList m_images{24, 24};
};

namespace {

const QColor kRed(255, 0, 0);

QFont tabFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    font.setBold(true);
    return font;
}

// Notes every event in order, the tab given by its text.
class Recorder : public TabCtrlNotify {
public:
    QStringList events;
    void OnTabPreCreate(TabCtrl*, QWidget*, const QString& text, int) override { events << "before add " + text; }
    void OnTabPostCreate(TabCtrl*, TabItem* tab) override { events << "added " + tab->GetText(); }
    void OnTabSelected(TabCtrl*, TabItem* tab) override { events << "selected " + tab->GetText(); }
    void OnLButtonDown(TabCtrl*, TabItem* tab, QPoint) override { events << "pressed " + tab->GetText(); }
    void OnLButtonDblClk(TabCtrl*, TabItem* tab, QPoint) override { events << "double click " + tab->GetText(); }
    void OnRButtonDown(TabCtrl*, TabItem* tab, QPoint) override { events << "right down " + name(tab); }
    void OnRButtonUp(TabCtrl*, TabItem* tab, QPoint) override { events << "right up " + name(tab); }

private:
    static QString name(const TabItem* tab) { return tab ? tab->GetText() : QStringLiteral("none"); }
};

Recorder g_recorder;

QRgb band(const QPalette& colours)
{
    const QColor face = colours.color(QPalette::Active, QPalette::Button);
    const QColor light = colours.color(QPalette::Active, QPalette::Light);
    const auto mix = [](int a, int b) { return (45 * a + 55 * b) / 100; };
    return qRgb(mix(face.red(), light.red()), mix(face.green(), light.green()), mix(face.blue(), light.blue()));
}

QRgb role(const QWidget& widget, QPalette::ColorRole colourRole)
{
    return widget.palette().color(QPalette::Active, colourRole).rgb();
}

QPoint centreOf(const TabItem* tab)
{
    return tab->GetRect().center();
}

} // namespace

void TabCtrlTest::init()
{
    m_host = new QWidget;
    m_host->resize(600, 300);
    m_images = CImageList(24, 24);
    m_images.Add(WidgetImages::filledPixmap(QSize(24, 24), kRed));
    m_images.Add(WidgetImages::filledPixmap(QSize(24, 24), Qt::blue));
    g_recorder.events.clear();
}

void TabCtrlTest::cleanup()
{
    QToolTip::hideText();
    delete m_host;
}

// Made the way the settings view and the configuration dialog make theirs.
TabStrip* TabCtrlTest::makeStrip(int width, TabCtrl::Behavior behavior, const QStringList& texts)
{
    auto* strip = new TabStrip;
    strip->Create(m_host, true, QRect(), 59648);
    strip->SetImageLists(&m_images, &m_images);
    strip->SetFontNormal(tabFont());
    strip->SetFontSelect(tabFont());
    strip->SetNotifyManager(&g_recorder);
    strip->SetBehavior(behavior);
    for (int i = 0; i < texts.size(); ++i)
        strip->AddTab(new QWidget(strip), texts[i], i % 2);
    strip->Update();
    strip->setGeometry(0, 0, width, 200);
    m_host->show();
    if (!QTest::qWaitForWindowExposed(m_host))
        qFatal("the test window is not shown");
    g_recorder.events.clear();
    return strip;
}

void TabCtrlTest::stripHeight_data()
{
    QTest::addColumn<int>("imageSize");
    QTest::addColumn<int>("fontPixels");
    QTest::addColumn<int>("height");
    const auto textHeight = [](int pixels) {
        QFont font = tabFont();
        font.setPixelSize(pixels);
        return QFontMetrics(font).height();
    };
    QTest::newRow("24-pixel images are taller than the text") << 24 << 12 << 1 + 2 + 24 + 2 + 0;
    QTest::newRow("text taller than 16-pixel images") << 16 << 40 << 1 + 2 + textHeight(40) + 2 + 0;
    QTest::newRow("no images") << 0 << 12 << 1 + 2 + textHeight(12) + 2 + 0;
}

void TabCtrlTest::stripHeight()
{
    QFETCH(int, imageSize);
    QFETCH(int, fontPixels);
    QFETCH(int, height);
    QFont font = tabFont();
    font.setPixelSize(fontPixels);
    CImageList images(imageSize, imageSize);
    TabStrip strip;
    strip.Create(m_host, true, QRect(0, 0, 300, 100), 59648);
    strip.SetImageLists(imageSize ? &images : nullptr, imageSize ? &images : nullptr);
    strip.SetFontNormal(font);
    strip.SetFontSelect(font);
    strip.AddTab(nullptr, QStringLiteral("Common Settings"), -1);
    strip.Update();
    QCOMPARE(strip.GetTabsAreaHeight(), height);
    QCOMPARE(strip.GetTabsArea(), QRect(0, 0, 300, height));
    QCOMPARE(strip.GetWindowsArea(), QRect(0, height, 300, 100 - height));
}

void TabCtrlTest::twoTabsSitAtNaturalWidthsFromTheLeft()
{
    TabStrip* strip = makeStrip(400, TabCtrl::BehaviorScroll, {QStringLiteral("Common Settings"), QStringLiteral("Message Logger")});
    QCOMPARE(strip->objectName(), QStringLiteral("id59648"));
    QCOMPARE(strip->GetTabsArea().height(), 29);
    const QFontMetricsF metrics(tabFont());
    int left = 4;
    for (int i = 0; i < 2; ++i) {
        const TabItem* tab = strip->GetTab(i);
        const int natural = 6 + 24 + 3 + qCeil(metrics.horizontalAdvance(tab->GetText())) + 6;
        QCOMPARE(tab->GetNaturalWidth(), natural);
        QCOMPARE(strip->GetTabRect(tab), QRect(left, 1, natural, 28));
        left += natural;
    }
    QVERIFY(left < strip->GetTabsPlacementArea().right());
    TextRecorder recorder(strip->size());
    strip->render(&recorder);
    QCOMPARE(recorder.texts(), QStringList({QStringLiteral("Message Logger"), QStringLiteral("Common Settings")}));
    // The selected window fills the windows area less its inset of 1, 0, 1, 1.
    QCOMPARE(strip->GetWindowsArea(), QRect(0, 29, 400, 171));
    QCOMPARE(strip->GetTab(0)->GetWindow()->geometry(), QRect(1, 29, 398, 170));
}

void TabCtrlTest::firstTabAddedIsSelectedAndShown()
{
    TabStrip strip;
    strip.Create(m_host, true, QRect(0, 0, 300, 150), 59648);
    strip.SetNotifyManager(&g_recorder);
    auto* first = new QWidget(&strip);
    auto* second = new QWidget(&strip);
    TabItem* tab0 = strip.AddTab(first, QStringLiteral("One"), 0);
    TabItem* tab1 = strip.AddTab(second, QStringLiteral("Two"), 1);
    strip.Update();
    QCOMPARE(strip.GetSel(), tab0);
    QVERIFY(!first->isHidden());
    QVERIFY(second->isHidden());
    QCOMPARE(strip.GetCount(), 2);
    QCOMPARE(strip.GetTab(1), tab1);
    QCOMPARE(g_recorder.events, QStringList({"before add One", "added One", "before add Two", "added Two"}));
}

void TabCtrlTest::selectingTheCurrentTabTellsNothing()
{
    TabStrip* strip = makeStrip(400, TabCtrl::BehaviorScroll, {QStringLiteral("Common Settings"), QStringLiteral("Message Logger")});
    TabItem* current = strip->GetSel();
    QWidget* window = current->GetWindow();
    strip->SelectTab(current);
    QCOMPARE(g_recorder.events, QStringList());

    QTest::mouseClick(strip, Qt::LeftButton, {}, centreOf(current));
    QCOMPARE(g_recorder.events, QStringList({"pressed Common Settings"}));
    QCOMPARE(strip->GetSel(), current);
    QVERIFY(!window->isHidden());
}

void TabCtrlTest::pressSelectsBeforeRelease()
{
    TabStrip* strip = makeStrip(400, TabCtrl::BehaviorScroll, {QStringLiteral("Common Settings"), QStringLiteral("Message Logger")});
    TabItem* first = strip->GetTab(0);
    TabItem* second = strip->GetTab(1);
    QTest::mousePress(strip, Qt::LeftButton, {}, centreOf(second));
    QCOMPARE(strip->GetSel(), second);
    QVERIFY(first->GetWindow()->isHidden());
    QVERIFY(!second->GetWindow()->isHidden());
    QCOMPARE(second->GetWindow()->geometry(), QRect(1, 29, 398, 170));
    QCOMPARE(g_recorder.events, QStringList({"pressed Message Logger", "selected Message Logger"}));
    QTest::mouseRelease(strip, Qt::LeftButton, {}, centreOf(second));
    QCOMPARE(g_recorder.events.size(), 2);

    // Selecting from code moves the window and tells nobody.
    strip->SelectTab(first);
    QCOMPARE(strip->GetSel(), first);
    QVERIFY(second->GetWindow()->isHidden());
    QCOMPARE(g_recorder.events.size(), 2);
}

void TabCtrlTest::disabledTabsCannotBeSelected()
{
    TabStrip* strip = makeStrip(500, TabCtrl::BehaviorScroll, {QStringLiteral("One"), QStringLiteral("Two"), QStringLiteral("Three")});
    TabItem* one = strip->GetTab(0);
    TabItem* two = strip->GetTab(1);
    strip->SetTabDisabled(two, true);
    QTest::mouseClick(strip, Qt::LeftButton, {}, centreOf(two));
    strip->SelectTab(two);
    QCOMPARE(strip->GetSel(), one);
    QCOMPARE(g_recorder.events, QStringList());

    // A selected tab that becomes disabled hands the selection to the next selectable one.
    strip->SetTabDisabled(one, true);
    QCOMPARE(strip->GetSel(), strip->GetTab(2));
    QVERIFY(one->GetWindow()->isHidden());
    QVERIFY(!strip->GetTab(2)->GetWindow()->isHidden());
}

void TabCtrlTest::otherMouseEventsAreReported()
{
    TabStrip* strip = makeStrip(400, TabCtrl::BehaviorScroll, {QStringLiteral("One"), QStringLiteral("Two")});
    const QPoint two = centreOf(strip->GetTab(1));
    QTest::mouseClick(strip, Qt::LeftButton, {}, two);
    QTest::mouseDClick(strip, Qt::LeftButton, {}, two);
    QTest::mouseClick(strip, Qt::RightButton, {}, two);
    QTest::mouseClick(strip, Qt::RightButton, {}, QPoint(300, 100));
    QCOMPARE(g_recorder.events, QStringList({"pressed Two", "selected Two", "double click Two", "right down Two",
                                             "right up Two", "right down none", "right up none"}));
}

void TabCtrlTest::removingTheSelectedTabSelectsANeighbour()
{
    TabStrip* strip = makeStrip(400, TabCtrl::BehaviorScroll, {QStringLiteral("One"), QStringLiteral("Two")});
    QWidget* window = strip->GetTab(0)->GetWindow();
    strip->RemoveTab(strip->GetTab(0));
    QCOMPARE(strip->GetCount(), 1);
    QCOMPARE(strip->GetSel(), strip->GetTab(0));
    QCOMPARE(strip->GetSel()->GetText(), QStringLiteral("Two"));
    QVERIFY(window->isHidden());
    QCOMPARE(strip->GetTabRect(strip->GetSel()).left(), 4);
}

void TabCtrlTest::squeeze_data()
{
    QTest::addColumn<int>("areaWidth");
    QTest::addColumn<QList<int>>("natural");
    QTest::addColumn<int>("minWidth");
    QTest::addColumn<QList<int>>("widths");
    QTest::newRow("fits: natural widths") << 100 << QList<int>{30, 40} << 10 << QList<int>{30, 40};
    QTest::newRow("wide tabs give up excess in proportion") << 100 << QList<int>{80, 20, 40} << 10 << QList<int>{45, 20, 35};
    QTest::newRow("never below the minimum; last takes the rest") << 30 << QList<int>{50, 50} << 20 << QList<int>{20, 10};
    QTest::newRow("no room at all") << 0 << QList<int>{10, 10} << 5 << QList<int>{5, 0};
    QTest::newRow("rounded to the nearest pixel") << 100 << QList<int>{70, 70, 10} << 10 << QList<int>{45, 45, 10};
}

void TabCtrlTest::squeeze()
{
    QFETCH(int, areaWidth);
    QFETCH(QList<int>, natural);
    QFETCH(int, minWidth);
    QFETCH(QList<int>, widths);
    const QRect area(4, 1, areaWidth, 28);
    const QList<QRect> rects = TabCtrlLayout::Squeeze(area, natural, QMargins(), minWidth);
    QList<int> actual;
    int left = area.left();
    for (const QRect& rect : rects) {
        QCOMPARE(rect.left(), left);
        QCOMPARE(rect.top(), 1);
        QCOMPARE(rect.height(), 28);
        actual.append(rect.width());
        left += rect.width();
    }
    QCOMPARE(actual, widths);
}

void TabCtrlTest::textThatDoesNotFitEndsInEllipsis()
{
    const QString longText = QStringLiteral("Download setting for every cell of the station");
    TabStrip* strip = makeStrip(260, TabCtrl::BehaviorSqueeze, {QStringLiteral("Files"), longText});
    TabItem* tab = strip->GetTab(1);
    QVERIFY(tab->GetRect().width() < tab->GetNaturalWidth());

    TextRecorder recorder(strip->size());
    strip->render(&recorder);
    // The unselected tab is painted first, the selected one last.
    const QStringList texts = recorder.texts();
    QCOMPARE(texts.size(), 2);
    QCOMPARE(texts[1], QStringLiteral("Files"));
    QVERIFY2(texts[0].endsWith(QChar(0x2026)), qPrintable(texts[0]));
    QVERIFY(longText.startsWith(texts[0].chopped(1)));
    QVERIFY(texts[0].size() > 3);
    WidgetImages::saveArtefact(WidgetImages::render(*strip), QStringLiteral("tab_strip_squeezed"));
}

void TabCtrlTest::toolTips_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("behavior");
    QTest::addColumn<QString>("ownToolTip");
    QTest::addColumn<QString>("expected");
    const int squeeze = TabCtrl::BehaviorSqueeze;
    const int scroll = TabCtrl::BehaviorScroll;
    const QString full = QStringLiteral("Download setting for every cell of the station");
    QTest::newRow("cut text shows in full") << 260 << squeeze << QString() << full;
    QTest::newRow("text that fits shows nothing") << 600 << squeeze << QString() << QString();
    QTest::newRow("own tooltip text comes first") << 600 << squeeze << QStringLiteral("Profile") << QStringLiteral("Profile");
    QTest::newRow("clipped at the right end shows in full") << 260 << scroll << QString() << full;
}

void TabCtrlTest::toolTips()
{
    QFETCH(int, width);
    QFETCH(int, behavior);
    QFETCH(QString, ownToolTip);
    QFETCH(QString, expected);
    TabStrip* strip = makeStrip(width, TabCtrl::Behavior(behavior),
                                {QStringLiteral("Files"), QStringLiteral("Download setting for every cell of the station")});
    TabItem* tab = strip->GetTab(1);
    strip->SetTabToolTipText(tab, ownToolTip);
    QTRY_VERIFY(!QToolTip::isVisible());

    const QPoint point = tab->GetRect().intersected(strip->GetTabsPlacementArea()).center();
    QMouseEvent move(QEvent::MouseMove, point, strip->mapToGlobal(point), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(strip, &move);
    QCOMPARE(strip->GetHover(), tab);
    QHelpEvent help(QEvent::ToolTip, point, strip->mapToGlobal(point));
    QApplication::sendEvent(strip, &help);
    QCOMPARE(QToolTip::isVisible(), !expected.isEmpty());
    if (!expected.isEmpty())
        QCOMPARE(QToolTip::text(), expected);

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(strip, &leave);
    QCOMPARE(strip->GetHover(), nullptr);
}

void TabCtrlTest::paintsTheStripTabsAndWindowsArea()
{
    TabStrip* strip = makeStrip(400, TabCtrl::BehaviorScroll, {QStringLiteral("Common Settings"), QStringLiteral("Message Logger")});
    strip->GetTab(0)->GetWindow()->hide(); // look at what lies under the page
    const QImage image = WidgetImages::render(*strip);
    WidgetImages::saveArtefact(image, QStringLiteral("tab_strip"));
    const QRgb shadow = role(*strip, QPalette::Dark);
    const QRgb face = role(*strip, QPalette::Button);
    const QRgb light = role(*strip, QPalette::Light);
    const QRect selected = strip->GetTab(0)->GetRect();
    const QRect other = strip->GetTab(1)->GetRect();

    // The band and its bottom line, right of the tabs.
    QCOMPARE(image.pixel(399, 10), band(strip->palette()));
    QCOMPARE(image.pixel(399, 28), shadow);
    // The selected tab: highlight on the left, shadow on top and right, face inside down into the line.
    QCOMPARE(image.pixel(selected.left(), 15), light);
    QCOMPARE(image.pixel(selected.left() + 1, selected.top()), shadow);
    QCOMPARE(image.pixel(selected.right(), 15), shadow);
    QCOMPARE(image.pixel(selected.left() + 3, 28), face);
    QCOMPARE(image.pixel(selected.left() + 2, 3), face);
    // Its image, top at 3 and 24 pixels high, centred with the text.
    const int imageLeft = selected.left() + 6;
    QCOMPARE(image.pixel(imageLeft, 3), kRed.rgb());
    QCOMPARE(image.pixel(imageLeft + 23, 26), kRed.rgb());
    QVERIFY(image.pixel(imageLeft, 2) != kRed.rgb());
    // The unselected tab: a separator at its right edge, inside the tab insets.
    QCOMPARE(image.pixel(other.right(), 15), shadow);
    QCOMPARE(image.pixel(other.right(), 3), shadow);
    QCOMPARE(image.pixel(other.right(), 2), band(strip->palette()));
    QCOMPARE(image.pixel(other.right(), 26), shadow);
    QCOMPARE(image.pixel(other.right(), 27), band(strip->palette()));
    // Text colours: button text on the selected tab, a dark grey mix on the other.
    const QColor shadowColour = strip->palette().color(QPalette::Active, QPalette::Dark);
    const QColor dimText(shadowColour.red() * 55 / 100, shadowColour.green() * 55 / 100, shadowColour.blue() * 55 / 100);
    const auto shows = [&](const QRect& area, const QColor& colour) {
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                if (WidgetImages::near(image.pixelColor(x, y), colour, 2))
                    return true;
            }
        }
        return false;
    };
    QVERIFY(shows(selected.adjusted(36, 4, -6, -4), strip->palette().color(QPalette::Active, QPalette::ButtonText)));
    QVERIFY(shows(other.adjusted(36, 4, -6, -4), dimText));
    QVERIFY(!shows(other.adjusted(36, 4, -6, -4), strip->palette().color(QPalette::Active, QPalette::ButtonText)));
    // The windows area's left, bottom and right edges.
    QCOMPARE(image.pixel(0, 100), shadow);
    QCOMPARE(image.pixel(399, 100), shadow);
    QCOMPARE(image.pixel(200, 199), shadow);
}

void TabCtrlTest::noTabsPaintsTheWorkspace()
{
    TabStrip* strip = makeStrip(300, TabCtrl::BehaviorScroll, {});
    const QImage image = WidgetImages::render(*strip);
    WidgetImages::saveArtefact(image, QStringLiteral("tab_strip_empty"));
    QCOMPARE(strip->GetTabsArea(), QRect());
    QCOMPARE(strip->GetWindowsArea(), QRect(0, 0, 300, 200));
    const QRgb workspace = role(*strip, QPalette::Mid);
    QCOMPARE(image.pixel(0, 0), workspace);
    QCOMPARE(image.pixel(150, 100), workspace);
    QCOMPARE(image.pixel(299, 199), workspace);
}

QTEST_MAIN(TabCtrlTest)
#include "TabCtrlTest.moc"
