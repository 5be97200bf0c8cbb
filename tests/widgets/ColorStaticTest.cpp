#include "widgets/ColorStaticST.h"
#include "widgets/ControlNotifyEvent.h"

#include "WidgetImages.h"

#include <QTest>

class ColorStaticTest : public QObject {
    Q_OBJECT

private slots:
    void paintsItsColours();
    void blinksAndNotifiesOnEveryOnPhase();
    void stoppingTheBlinkRestoresTheColours();
};

namespace {

const QColor kCyan(0, 250, 250);

bool showsColour(const QImage& image, const QColor& colour)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == colour.rgb())
                return true;
        }
    }
    return false;
}

// Notes each blink notification with the colours the control showed when it came.
class BlinkListener : public QObject {
public:
    explicit BlinkListener(CColorStaticST* control)
        : m_control(control)
    {
    }

    struct Seen {
        int controlId;
        QRgb background;
        bool textInColour;
    };
    QList<Seen> seen;
    QColor textColour;

protected:
    bool event(QEvent* event) override
    {
        if (event->type() != QEvent::Type(CColorStaticST::DefaultNotifyMessage))
            return QObject::event(event);
        const QImage image = WidgetImages::render(*m_control);
        seen.append({static_cast<ControlNotifyEvent*>(event)->ControlId(), image.pixel(1, 1), showsColour(image, textColour)});
        return true;
    }

private:
    CColorStaticST* m_control;
};

CColorStaticST* makeStatic(QWidget* parent = nullptr)
{
    auto* control = new CColorStaticST(parent);
    control->setObjectName(QStringLiteral("id1056"));
    QFont font = control->font();
    font.setPixelSize(18);
    font.setBold(true);
    control->setFont(font);
    control->setText(QStringLiteral("Check eMMC"));
    control->resize(140, 30);
    return control;
}

} // namespace

void ColorStaticTest::paintsItsColours()
{
    std::unique_ptr<CColorStaticST> control(makeStatic());
    control->SetBkColor(kCyan);
    control->SetTextColor(Qt::red);
    QImage image = WidgetImages::render(*control);
    WidgetImages::saveArtefact(image, QStringLiteral("color_static"));
    QCOMPARE(image.pixel(1, 1), kCyan.rgb());
    QVERIFY(showsColour(image, Qt::red));

    control->SetBkColor(QColor()); // the default, button face
    image = WidgetImages::render(*control);
    QCOMPARE(image.pixel(1, 1), control->palette().color(QPalette::Active, QPalette::Button).rgb());
}

void ColorStaticTest::blinksAndNotifiesOnEveryOnPhase()
{
    std::unique_ptr<CColorStaticST> control(makeStatic());
    BlinkListener listener(control.get());
    listener.textColour = Qt::yellow;
    control->SetBlinkBkColors(kCyan, Qt::blue);
    control->SetBlinkTextColors(Qt::black, Qt::yellow);
    control->EnableNotify(&listener);
    control->StartTextBlink(true, 30);
    control->StartBkBlink(true, 30);
    QTRY_VERIFY(listener.seen.size() >= 3);
    for (const BlinkListener::Seen& seen : listener.seen) {
        QCOMPARE(seen.controlId, 1056);
        QCOMPARE(seen.background, QColor(Qt::blue).rgb());
        QVERIFY(seen.textInColour);
    }
}

void ColorStaticTest::stoppingTheBlinkRestoresTheColours()
{
    std::unique_ptr<CColorStaticST> control(makeStatic());
    BlinkListener listener(control.get());
    listener.textColour = Qt::yellow;
    control->SetBkColor(kCyan);
    control->SetBlinkBkColors(Qt::red, Qt::blue);
    control->EnableNotify(&listener);
    control->StartBkBlink(true, 30);
    QTRY_VERIFY(!listener.seen.isEmpty());
    control->StartBkBlink(false);
    QCOMPARE(WidgetImages::render(*control).pixel(1, 1), kCyan.rgb());
}

QTEST_MAIN(ColorStaticTest)
#include "ColorStaticTest.moc"
