#include "tests/widgets/WidgetImages.h"
#include "widgets/CustomToolTip.h"
#include "widgets/ResourceImage.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

using WidgetImages::describe;

namespace {

const QString kWrongPassword = QStringLiteral("Wrong password inputed!\nPlease input again......");

// A window like the login: a password field "id1002" among other controls.
struct OwnerWindow {
    QWidget window;
    QLineEdit* password = new QLineEdit;
    QPushButton* button = new QPushButton(QStringLiteral("Login"));

    OwnerWindow()
    {
        password->setObjectName(QStringLiteral("id1002"));
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(button);
        layout->addWidget(password);
        window.setGeometry(300, 300, 240, 120);
        window.show();
    }

    QPoint passwordCentre() const
    {
        const QPoint topLeft = password->mapToGlobal(QPoint(0, 0));
        return topLeft + QPoint(password->width() - password->width() / 2, password->height() - password->height() / 2);
    }
};

// Where the balloon's pointer tip lies in its own coordinates.
QPoint tipInBalloon(const CCustomToolTip& tip)
{
    return QPoint(tip.width() - 12, tip.height() - 25 + 15);
}

// What the balloon shows: its painting, transparent outside its shape.
QImage maskedImage(CCustomToolTip& tip)
{
    QImage image = WidgetImages::render(tip);
    const QRegion shape = tip.mask();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!shape.contains(QPoint(x, y)))
                image.setPixelColor(x, y, Qt::transparent);
        }
    }
    return image;
}

QMouseEvent press(QEvent::Type type, Qt::MouseButton button, QPoint global = QPoint(10, 10))
{
    return QMouseEvent(type, QPointF(5, 5), QPointF(global), button, button, Qt::NoModifier);
}

} // namespace

class CustomToolTipTest : public QObject {
    Q_OBJECT

private slots:
    void balloonPointsAtTheControlCentre();
    void severalLinesGrowTheBalloonDownAndRight();
    void anIconComesBeforeTheText();
    void pressesHideTheBalloon_data();
    void pressesHideTheBalloon();
    void aClickInTheOwnerHidesTheBalloon();
    void trackingFollowsRegisteredWindows();
    void eachModeKeepsToItsOwnCalls();
};

void CustomToolTipTest::balloonPointsAtTheControlCentre()
{
    OwnerWindow owner;
    QVERIFY(QTest::qWaitForWindowExposed(&owner.window));
    CCustomToolTip tip;
    QVERIFY(tip.Create(&owner.window, CCustomToolTip::Manual));
    QVERIFY(tip.ShowAtControl(kWrongPassword, 1002));
    QVERIFY(!tip.isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(tip.isVisible(), 2000);
    QCOMPARE(tip.GetTargetPoint(), owner.passwordCentre());

    // The pointer's tip is on the target point.
    QCOMPARE(tip.pos() + tipInBalloon(tip), owner.passwordCentre());
    const QImage image = maskedImage(tip);
    WidgetImages::saveArtefact(image, QStringLiteral("balloon"));
    const QPoint tipPoint = tipInBalloon(tip);
    int lowest = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y).alpha() > 0)
                lowest = y;
        }
    }
    QVERIFY2(qAbs(lowest - tipPoint.y()) <= 1, qPrintable(QString::number(lowest)));
    bool inkNearTip = false;
    for (int x = tipPoint.x() - 2; x <= tipPoint.x(); ++x)
        inkNearTip |= image.pixelColor(x, lowest).alpha() > 0;
    QVERIFY(inkNearTip);

    // Filled in the 3-D light colour, framed 2 px in the text colour with the
    // very edge in the light colour again.
    const QRgb light = tip.palette().color(QPalette::Midlight).rgb();
    const QRgb dark = tip.palette().color(QPalette::WindowText).rgb();
    const int middle = (tip.height() - 25) / 2;
    QCOMPARE(image.pixel(0, middle), light);
    QCOMPARE(image.pixel(1, middle), dark);
    QCOMPARE(image.pixel(2, middle), light);
    QCOMPARE(image.pixel(tip.width() - 2, middle), dark);
    QCOMPARE(image.pixel(tip.width() / 2, 1), dark);
    QCOMPARE(image.pixel(tip.width() - 5, 5), light);
}

void CustomToolTipTest::severalLinesGrowTheBalloonDownAndRight()
{
    OwnerWindow owner;
    QVERIFY(QTest::qWaitForWindowExposed(&owner.window));
    CCustomToolTip tip;
    tip.Create(&owner.window, CCustomToolTip::Manual);
    tip.ShowAtControl(QStringLiteral("Short"), 1002);
    QTRY_VERIFY_WITH_TIMEOUT(tip.isVisible(), 2000);
    const QSize oneLine = tip.size();

    const QString lines = QStringLiteral("Short\nA much longer second line of text\nThird");
    tip.ShowAtControl(lines, 1002);
    QTRY_VERIFY_WITH_TIMEOUT(tip.size() != oneLine, 2000);
    WidgetImages::saveArtefact(maskedImage(tip), QStringLiteral("balloon-three-lines"));

    // The text stays anchored at (12, 10) and the body grows from it: wider by
    // the longer line, taller by two lines; the pointer follows to the new
    // lower right corner, and the window moves so its tip stays on the target.
    const QFontMetrics metrics(tip.font());
    const QRect text = metrics.boundingRect(QRect(), Qt::AlignLeft | Qt::AlignTop, lines);
    QCOMPARE(tip.size(), QSize(text.width() + 24, text.height() + 20 + 25));
    QVERIFY(tip.width() > oneLine.width());
    QVERIFY(tip.height() >= oneLine.height() + 2 * metrics.lineSpacing() - 2);
    QCOMPARE(tip.pos() + tipInBalloon(tip), owner.passwordCentre());
    QVERIFY(tip.mask().contains(tipInBalloon(tip) - QPoint(1, 1)));
    QVERIFY(!tip.mask().contains(tipInBalloon(tip) + QPoint(0, 2)));
}

void CustomToolTipTest::anIconComesBeforeTheText()
{
    QTemporaryDir folder;
    QDir(folder.path()).mkpath(QStringLiteral("icon"));
    WidgetImages::filledPixmap(QSize(20, 60), QColor(0, 120, 255)).save(folder.filePath(QStringLiteral("icon/312.png")));
    ResourceImage::AddSearchFolder(folder.path());

    OwnerWindow owner;
    QVERIFY(QTest::qWaitForWindowExposed(&owner.window));
    CCustomToolTip tip;
    tip.Create(&owner.window, CCustomToolTip::Manual);
    tip.ShowAtControl(QStringLiteral("Hint"), 1002);
    QTRY_VERIFY_WITH_TIMEOUT(tip.isVisible(), 2000);
    const QSize plain = tip.size();

    tip.SetIcon(312);
    tip.ShowAtControl(QStringLiteral("Hint"), 1002);
    QTRY_VERIFY_WITH_TIMEOUT(tip.size() != plain, 2000);
    QCOMPARE(tip.width(), plain.width() + 20 + 5);
    QCOMPARE(tip.height() - 25, qMax(plain.height() - 25, 60));
    const QImage image = maskedImage(tip);
    QCOMPARE(image.pixelColor(12, 10), QColor(0, 120, 255));
    // The body is only as high as the icon, so the icon's foot is cut by the shape.
    QCOMPARE(image.pixelColor(31, 57), QColor(0, 120, 255));

    tip.SetIcon(9999);
    tip.ShowAtControl(QStringLiteral("Hint"), 1002);
    QTRY_COMPARE_WITH_TIMEOUT(tip.size(), plain, 2000);
}

void CustomToolTipTest::pressesHideTheBalloon_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("hides");
    QTest::newRow("left") << int(QEvent::MouseButtonPress) << int(Qt::LeftButton) << true;
    QTest::newRow("right") << int(QEvent::MouseButtonPress) << int(Qt::RightButton) << true;
    QTest::newRow("middle") << int(QEvent::MouseButtonPress) << int(Qt::MiddleButton) << true;
    QTest::newRow("left on the frame") << int(QEvent::NonClientAreaMouseButtonPress) << int(Qt::LeftButton) << true;
    QTest::newRow("right on the frame") << int(QEvent::NonClientAreaMouseButtonPress) << int(Qt::RightButton) << false;
    QTest::newRow("release") << int(QEvent::MouseButtonRelease) << int(Qt::LeftButton) << false;
}

void CustomToolTipTest::pressesHideTheBalloon()
{
    QFETCH(int, type);
    QFETCH(int, button);
    QFETCH(bool, hides);
    OwnerWindow owner;
    QVERIFY(QTest::qWaitForWindowExposed(&owner.window));
    CCustomToolTip tip;
    tip.Create(&owner.window, CCustomToolTip::Manual);
    tip.ShowAtControl(kWrongPassword, 1002);
    QTRY_VERIFY_WITH_TIMEOUT(tip.isVisible(), 2000);

    QMouseEvent event = press(QEvent::Type(type), Qt::MouseButton(button));
    tip.RelayEvent(&owner.window, &event);
    QCOMPARE(tip.isVisible(), !hides);
}

void CustomToolTipTest::aClickInTheOwnerHidesTheBalloon()
{
    // The owner relays every event its controls receive, as the login does.
    struct Relay : QObject {
        CCustomToolTip* tip = nullptr;
        bool eventFilter(QObject* target, QEvent* event) override
        {
            tip->RelayEvent(target, event);
            return false;
        }
    } relay;

    OwnerWindow owner;
    QVERIFY(QTest::qWaitForWindowExposed(&owner.window));
    CCustomToolTip tip;
    tip.Create(&owner.window, CCustomToolTip::Manual);
    relay.tip = &tip;
    owner.button->installEventFilter(&relay);
    tip.ShowAtControl(kWrongPassword, 1002);
    QTRY_VERIFY_WITH_TIMEOUT(tip.isVisible(), 2000);
    QTest::mouseClick(owner.button, Qt::LeftButton);
    QVERIFY(!tip.isVisible());
    QTest::qWait(2 * CCustomToolTip::kShowDelayMs);
    QVERIFY(!tip.isVisible());
    owner.button->removeEventFilter(&relay);
}

void CustomToolTipTest::trackingFollowsRegisteredWindows()
{
    OwnerWindow owner;
    QVERIFY(QTest::qWaitForWindowExposed(&owner.window));
    CCustomToolTip tip;
    tip.Create(&owner.window, CCustomToolTip::Tracking);
    tip.AddTool(owner.button, QStringLiteral("Click to log in."));

    const QPoint over = owner.button->mapToGlobal(QPoint(5, 5));
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(over), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    tip.RelayEvent(owner.button, &move);
    QTRY_VERIFY_WITH_TIMEOUT(tip.isVisible(), 2000);
    QCOMPARE(tip.GetText(), QStringLiteral("Click to log in."));
    QCOMPARE(tip.pos() + tipInBalloon(tip), over);

    // Moving over a window that has no tool: hidden, and not shown again.
    const QPoint away = owner.password->mapToGlobal(QPoint(5, 5));
    QMouseEvent leave(QEvent::MouseMove, QPointF(5, 5), QPointF(away), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    tip.RelayEvent(owner.password, &leave);
    QVERIFY(!tip.isVisible());
    QTest::qWait(2 * CCustomToolTip::kShowDelayMs);
    QVERIFY(!tip.isVisible());
}

void CustomToolTipTest::eachModeKeepsToItsOwnCalls()
{
    OwnerWindow owner;
    CCustomToolTip manual;
    manual.Create(&owner.window, CCustomToolTip::Manual);
    QVERIFY(!manual.ShowAtPoint(QStringLiteral("x"), QPoint(10, 10)));
    QVERIFY(!manual.ShowAtControl(QStringLiteral("x"), 4242));

    CCustomToolTip tracking;
    tracking.Create(&owner.window, CCustomToolTip::Tracking);
    QVERIFY(!tracking.ShowAtControl(QStringLiteral("x"), 1002));
    QVERIFY(tracking.ShowAtPoint(QStringLiteral("x"), QPoint(10, 10)));
    QTRY_VERIFY_WITH_TIMEOUT(tracking.isVisible(), 2000);
    QCOMPARE(tracking.pos() + tipInBalloon(tracking), QPoint(10, 10));
}

QTEST_MAIN(CustomToolTipTest)
#include "CustomToolTipTest.moc"
