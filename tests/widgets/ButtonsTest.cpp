#include "widgets/XButtonXP.h"
#include "widgets/XThemeHelper.h"

#include "WidgetImages.h"

#include <QDialog>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

class ButtonsTest : public QObject {
    Q_OBJECT

private slots:
    void grayedCopy_data();
    void grayedCopy();
    void disabledButtonShowsTheGreyIcon();
    void iconPlacement_data();
    void iconPlacement();
    void classicEdgeFollowsThePressedLook_data();
    void classicEdgeFollowsThePressedLook();
    void focusDrawsFrameAndDottedRectangle();
    void disabledTextIsDrawnTwice();
    void keyGivesOneClickOnRelease_data();
    void keyGivesOneClickOnRelease();
    void dialogDefaultButtonStillWorks();
};

namespace {

const QColor kRed(255, 0, 0);

QPixmap redIcon()
{
    return WidgetImages::filledPixmap(QSize(16, 16), kRed);
}

// First and last column holding the icon's colour on the button's middle row.
std::pair<int, int> iconColumns(const QImage& image, const QColor& colour)
{
    int first = -1;
    int last = -1;
    for (int x = 0; x < image.width(); ++x) {
        if (image.pixelColor(x, image.height() / 2) == colour) {
            if (first < 0)
                first = x;
            last = x;
        }
    }
    return {first, last};
}

int countNear(const QImage& image, const QRect& area, const QColor& colour)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            count += WidgetImages::near(image.pixelColor(x, y), colour, 4) ? 1 : 0;
    }
    return count;
}

} // namespace

void ButtonsTest::grayedCopy_data()
{
    QTest::addColumn<QRgb>("pixel");
    QTest::addColumn<QRgb>("grey");
    QTest::newRow("red") << qRgb(255, 0, 0) << qRgb(85, 85, 85);
    QTest::newRow("pure white stays apart from white") << qRgb(255, 255, 255) << qRgb(254, 254, 254);
    QTest::newRow("almost white") << qRgb(254, 255, 255) << qRgb(254, 254, 254);
    QTest::newRow("black") << qRgb(0, 0, 0) << qRgb(0, 0, 0);
    QTest::newRow("half transparent keeps its alpha") << qRgba(30, 60, 90, 128) << qRgba(60, 60, 60, 128);
    QTest::newRow("transparent is left alone") << qRgba(255, 0, 0, 0) << qRgba(255, 0, 0, 0);
}

void ButtonsTest::grayedCopy()
{
    QFETCH(QRgb, pixel);
    QFETCH(QRgb, grey);
    QImage image(2, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, pixel);
    image.setPixel(1, 0, pixel);
    const QImage copy = CXButtonXP::GrayedCopy(QPixmap::fromImage(image)).toImage().convertToFormat(QImage::Format_ARGB32);
    if (qAlpha(grey) == 0)
        QCOMPARE(qAlpha(copy.pixel(1, 0)), 0);
    else
        QCOMPARE(copy.pixel(1, 0), grey);
}

void ButtonsTest::disabledButtonShowsTheGreyIcon()
{
    CXButtonXP button;
    button.resize(90, 30);
    button.setText(QStringLiteral("Apply"));
    button.SetIcon(redIcon(), CXButtonXP::IconLeft).SetToggle(false).SetTheme(true).SetToolbarStyle(false);
    const QImage enabled = WidgetImages::render(button);
    QCOMPARE(enabled.pixelColor(12, 15), kRed);

    button.setEnabled(false);
    const QImage disabled = WidgetImages::render(button);
    WidgetImages::saveArtefact(enabled, QStringLiteral("button_enabled"));
    WidgetImages::saveArtefact(disabled, QStringLiteral("button_disabled"));
    QCOMPARE(disabled.pixelColor(12, 15), QColor(85, 85, 85));
    QCOMPARE(iconColumns(disabled, QColor(85, 85, 85)), iconColumns(enabled, kRed));
}

void ButtonsTest::iconPlacement_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("placement");
    QTest::addColumn<int>("firstColumn");
    QTest::newRow("left of the text: half the icon width in") << "Go" << int(CXButtonXP::IconLeft) << 8;
    QTest::newRow("right of the text: one and a half widths from the right") << "Go" << int(CXButtonXP::IconRight) << 100 - 16 - 8;
    QTest::newRow("no text: centred") << "" << int(CXButtonXP::IconLeft) << (100 - 16) / 2;
}

void ButtonsTest::iconPlacement()
{
    QFETCH(QString, text);
    QFETCH(int, placement);
    QFETCH(int, firstColumn);
    CXButtonXP button;
    button.resize(100, 40);
    button.setText(text);
    button.SetIcon(redIcon(), placement);
    const QImage image = WidgetImages::render(button);
    QCOMPARE(iconColumns(image, kRed), std::make_pair(firstColumn, firstColumn + 15));
    QCOMPARE(image.pixelColor(firstColumn, (40 - 16) / 2), kRed);
    QVERIFY(image.pixelColor(firstColumn, (40 - 16) / 2 - 1) != kRed);
}

void ButtonsTest::classicEdgeFollowsThePressedLook_data()
{
    QTest::addColumn<bool>("toggle");
    QTest::addColumn<bool>("held");
    QTest::addColumn<bool>("sunken");
    QTest::newRow("normal") << false << false << false;
    QTest::newRow("held down") << false << true << true;
    QTest::newRow("toggle, switched on by a click") << true << false << true;
}

void ButtonsTest::classicEdgeFollowsThePressedLook()
{
    QFETCH(bool, toggle);
    QFETCH(bool, held);
    QFETCH(bool, sunken);
    QVERIFY(!CXThemeHelper::Instance().IsThemeActive());
    CXButtonXP button;
    button.setFocusPolicy(Qt::NoFocus);
    button.resize(60, 24);
    button.SetToggle(toggle).SetTheme(true);
    QVERIFY(!button.IsThemed());
    if (toggle)
        button.click();
    if (held)
        QTest::mousePress(&button, Qt::LeftButton);
    const QImage image = WidgetImages::render(button);
    const QPalette& colours = button.palette();
    QCOMPARE(image.pixel(0, 5), colours.color(sunken ? QPalette::Dark : QPalette::Midlight).rgb());
    QCOMPARE(image.pixel(1, 5), colours.color(sunken ? QPalette::Shadow : QPalette::Light).rgb());
    QCOMPARE(image.pixel(59, 5), colours.color(sunken ? QPalette::Light : QPalette::Shadow).rgb());
    QCOMPARE(image.pixel(5, 23), colours.color(sunken ? QPalette::Light : QPalette::Shadow).rgb());
    QCOMPARE(image.pixel(30, 12), colours.color(QPalette::Button).rgb());
    if (held)
        QTest::mouseRelease(&button, Qt::LeftButton);

    button.SetToolbarStyle(true);
    QCOMPARE(WidgetImages::render(button).pixel(1, 5), colours.color(QPalette::Button).rgb());
}

void ButtonsTest::focusDrawsFrameAndDottedRectangle()
{
    QDialog dialog;
    auto* button = new CXButtonXP(&dialog);
    button->setGeometry(10, 10, 80, 30);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    button->setFocus();
    QTRY_VERIFY(button->hasFocus());
    const QImage image = WidgetImages::render(*button);
    WidgetImages::saveArtefact(image, QStringLiteral("button_focused"));
    QCOMPARE(image.pixelColor(0, 0), QColor(Qt::black));
    QCOMPARE(image.pixelColor(79, 29), QColor(Qt::black));
    const QRgb text = button->palette().color(QPalette::ButtonText).rgb();
    QCOMPARE(image.pixel(4, 3), text);
    QVERIFY(image.pixel(5, 3) != text);
    QCOMPARE(image.pixel(3, 26), text);
}

void ButtonsTest::disabledTextIsDrawnTwice()
{
    CXButtonXP button;
    QFont font = button.font();
    font.setPixelSize(20);
    font.setBold(true);
    button.setFont(font);
    button.resize(120, 40);
    button.setText(QStringLiteral("HHHH"));
    button.setEnabled(false);
    const QImage image = WidgetImages::render(button);
    WidgetImages::saveArtefact(image, QStringLiteral("button_disabled_text"));
    const QRect inside(3, 3, 114, 34);
    const QPalette& colours = button.palette();
    QVERIFY(countNear(image, inside, colours.color(QPalette::Active, QPalette::Dark)) > 20);
    QVERIFY(countNear(image, inside, colours.color(QPalette::Active, QPalette::Light)) > 20);
    QCOMPARE(countNear(image, inside, colours.color(QPalette::Active, QPalette::ButtonText)), 0);
}

void ButtonsTest::keyGivesOneClickOnRelease_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Space") << int(Qt::Key_Space);
    QTest::newRow("Return") << int(Qt::Key_Return);
    QTest::newRow("Enter") << int(Qt::Key_Enter);
}

void ButtonsTest::keyGivesOneClickOnRelease()
{
    QFETCH(int, key);
    QDialog dialog;
    auto* button = new CXButtonXP(&dialog);
    button->setText(QStringLiteral("OK"));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    button->setFocus();
    QSignalSpy clicked(button, &QAbstractButton::clicked);

    QTest::sendKeyEvent(QTest::Press, button, Qt::Key(key), QString(), Qt::NoModifier);
    QTest::sendKeyEvent(QTest::Press, button, Qt::Key(key), QString(), Qt::NoModifier); // no repeat flag, still held
    QVERIFY(button->isDown());
    QCOMPARE(clicked.count(), 0);
    QTest::sendKeyEvent(QTest::Release, button, Qt::Key(key), QString(), Qt::NoModifier);
    QCOMPARE(clicked.count(), 1);
    QVERIFY(!button->isDown());
    QVERIFY(dialog.isVisible());
}

void ButtonsTest::dialogDefaultButtonStillWorks()
{
    QDialog dialog;
    auto* edit = new QLineEdit(&dialog);
    auto* apply = new CXButtonXP(&dialog);
    auto* cancel = new CXButtonXP(&dialog);
    apply->setDefault(true);
    apply->move(0, 40);
    cancel->move(100, 40);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(apply->IsDefault());
    QCOMPARE(WidgetImages::render(*apply).pixelColor(0, 0), QColor(Qt::black));

    QSignalSpy applied(apply, &QAbstractButton::clicked);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(applied.count(), 1);

    // The default frame moves with the focus to another push button.
    cancel->setFocus();
    QTRY_VERIFY(cancel->IsDefault());
    QVERIFY(!apply->IsDefault());
}

QTEST_MAIN(ButtonsTest)
#include "ButtonsTest.moc"
