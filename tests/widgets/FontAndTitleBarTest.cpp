#include "tests/widgets/WidgetImages.h"
#include "widgets/CustomFont.h"
#include "widgets/TitleBarCtrl.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTest>

using WidgetImages::near;

namespace {

// A window that paints a caption strip and a gradient title under it.
class CaptionWindow : public QWidget {
public:
    CTitleBarCtrl titleBar;
    QString caption = QStringLiteral("Cell Donwload Progress");
    QRect gradientRect{0, 40, 240, 24};

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        titleBar.DrawTitle(painter, *this, caption, 22, Qt::AlignHCenter, Qt::black);
        titleBar.DrawGradientTitle(painter, *this, QStringLiteral("IIII"), gradientRect,
            Qt::AlignLeft | Qt::AlignVCenter, QColor(200, 0, 0), QColor(0, 0, 200));
    }
};

struct Extent {
    int left = INT_MAX;
    int right = INT_MIN;
};

Extent inkAcross(const QImage& image, const QRect& area, auto isInk)
{
    Extent extent;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (isInk(image.pixelColor(x, y))) {
                extent.left = qMin(extent.left, x);
                extent.right = qMax(extent.right, x);
            }
        }
    }
    return extent;
}

} // namespace

class FontAndTitleBarTest : public QObject {
    Q_OBJECT

private slots:
    void fontFromFaceHeightAndWeight_data();
    void fontFromFaceHeightAndWeight();
    void positiveHeightFillsTheCell();
    void creatingAgainReplacesTheFont();
    void captionStrip();
    void gradientTitle();
};

void FontAndTitleBarTest::fontFromFaceHeightAndWeight_data()
{
    QTest::addColumn<QString>("face");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("weight");
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<int>("expectedWeight");
    QTest::newRow("list font") << "Consolas" << -14 << 700 << 14 << int(QFont::Bold);
    QTest::newRow("toolbar font") << "Arial New" << -12 << 500 << 12 << int(QFont::Medium);
    QTest::newRow("caption font") << QString::fromUtf8("微软雅黑") << -13 << 700 << 13 << int(QFont::Bold);
    QTest::newRow("no weight") << "Arial New" << -13 << 0 << 13 << int(QFont::Normal);
}

void FontAndTitleBarTest::fontFromFaceHeightAndWeight()
{
    QFETCH(QString, face);
    QFETCH(int, height);
    QFETCH(int, weight);
    QFETCH(int, pixelSize);
    QFETCH(int, expectedWeight);
    CCustomFont font;
    QVERIFY(!font.IsCreated());
    font.CreateFont(face, height, weight);
    QVERIFY(font.IsCreated());
    const QFont made = font.GetFont();
    QCOMPARE(made.family(), face);
    QCOMPARE(made.pixelSize(), pixelSize);
    QCOMPARE(int(made.weight()), expectedWeight);
    QVERIFY(!made.italic() && !made.underline() && !made.strikeOut());
    QCOMPARE(made.styleHint(), QFont::SansSerif);
}

void FontAndTitleBarTest::positiveHeightFillsTheCell()
{
    CCustomFont font;
    font.CreateFont(QStringLiteral("DejaVu Sans"), 30, 400);
    QVERIFY(qAbs(QFontMetrics(font.GetFont()).height() - 30) <= 1);
    QVERIFY(font.GetFont().pixelSize() < 30);
}

void FontAndTitleBarTest::creatingAgainReplacesTheFont()
{
    CCustomFont font;
    font.CreateFont(QStringLiteral("Arial New"), -12, 500);
    font.CreateFont(QStringLiteral("Consolas"), -14, 700);
    QCOMPARE(font.GetFont().family(), QStringLiteral("Consolas"));
    QCOMPARE(font.GetFont().pixelSize(), 14);
}

void FontAndTitleBarTest::captionStrip()
{
    CaptionWindow window;
    window.resize(240, 80);
    CCustomFont captionFont;
    captionFont.CreateFont(QStringLiteral("Arial New"), -13, 700);
    window.titleBar.SetFont(captionFont.GetFont());
    const QImage image = WidgetImages::render(window);
    WidgetImages::saveArtefact(image, QStringLiteral("title-bar"));

    const QPalette& palette = window.palette();
    QCOMPARE(image.pixel(5, 0), palette.color(QPalette::Light).rgb());
    QCOMPARE(image.pixel(0, 10), palette.color(QPalette::Light).rgb());
    QCOMPARE(image.pixel(5, 21), palette.color(QPalette::Dark).rgb());
    QCOMPARE(image.pixel(239, 10), palette.color(QPalette::Dark).rgb());
    QCOMPARE(image.pixel(3, 10), palette.color(QPalette::Window).rgb());
    QCOMPARE(image.pixel(5, 22), QColor(Qt::white).rgb());

    // Black text, centred across the strip.
    const Extent text = inkAcross(image, QRect(1, 1, 238, 20), [](QColor c) { return qGray(c.rgb()) < 60; });
    QVERIFY(text.left < text.right);
    QVERIFY2(qAbs((text.left + text.right) / 2 - 120) <= 2, qPrintable(QString::number(text.left)));
}

void FontAndTitleBarTest::gradientTitle()
{
    CaptionWindow window;
    window.resize(240, 80);
    const QImage image = WidgetImages::render(window);
    const QRect area = window.gradientRect;
    QVERIFY(near(image.pixelColor(area.left(), area.top()), QColor(200, 0, 0), 3));
    QVERIFY(near(image.pixelColor(area.right(), area.bottom()), QColor(0, 0, 200), 3));
    QVERIFY(near(image.pixelColor(area.center().x(), area.top()), QColor(100, 0, 100), 4));
    // Text in the button-highlight colour, starting 3 px in: where the same
    // text drawn at the left edge of a blank image starts, plus 3.
    QImage blank(area.size(), QImage::Format_ARGB32);
    blank.fill(Qt::white);
    QPainter painter(&blank);
    painter.setFont(window.font());
    painter.drawText(blank.rect(), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("IIII"));
    painter.end();
    const int bearing = inkAcross(blank, blank.rect(), [](QColor c) { return qGray(c.rgb()) < 128; }).left;
    const QColor light = window.palette().color(QPalette::Light);
    const Extent text = inkAcross(image, area, [&](QColor c) { return near(c, light, 60); });
    QVERIFY2(qAbs(text.left - (area.left() + 3 + bearing)) <= 1, qPrintable(QString::number(text.left)));
}

QTEST_MAIN(FontAndTitleBarTest)
#include "FontAndTitleBarTest.moc"
