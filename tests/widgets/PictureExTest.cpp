#include "widgets/GifAnimation.h"
#include "widgets/GifComposer.h"
#include "widgets/GifFrame.h"
#include "widgets/GifParser.h"
#include "widgets/PictureEx.h"
#include "widgets/ResourceImage.h"
#include "tests/widgets/GifFixtures.h"

#include "WidgetImages.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class PictureExTest : public QObject {
    Q_OBJECT

private slots:
    void oneImageGifIsStillAndStartsNoThread();
    void otherFormatsAreStillPictures();
    void loadsFromTheResources();
    void malformedDataIsRefused_data();
    void malformedDataIsRefused();
    void threeFramesPlayInOrderAndStopWhenDestroyed();
    void stopEndsTheThread();
    void shortDelaysPlayAtOneHundredMs_data();
    void shortDelaysPlayAtOneHundredMs();
    void disposalRestoresBackgroundOrPrevious();
    void rewindFillsWithBackground();
    void setBkColorFillsTheOffscreenImage();
};

namespace {

QList<GifFrame> decodedFrames(const char* name)
{
    const std::optional<GifParser::Contents> contents = GifParser::Parse(gifFixture(name));
    QList<GifFrame> frames;
    for (const GifParser::Frame& piece : contents->frames)
        frames.append(GifFrame::Decode(piece));
    return frames;
}

const QRgb kRed = qRgb(255, 0, 0);
const QRgb kGreen = qRgb(0, 255, 0);
const QRgb kBlue = qRgb(0, 0, 255);
const QRgb kWhite = qRgb(255, 255, 255);

} // namespace

void PictureExTest::oneImageGifIsStillAndStartsNoThread()
{
    CPictureEx picture;
    picture.move(30, 40);
    QVERIFY(picture.Load(gifFixture("still.gif")));
    QCOMPARE(picture.size(), QSize(4, 4));
    QCOMPARE(picture.pos(), QPoint(30, 40));
    QVERIFY(picture.Draw());
    QVERIFY(!picture.IsPlaying());
    QCOMPARE(GifAnimation::RunningThreads(), 0);

    const QImage shown = picture.grab().toImage();
    WidgetImages::saveArtefact(shown.scaled(64, 64), QStringLiteral("picture_still"));
    QCOMPARE(shown.pixel(0, 2), kRed);
    QCOMPARE(shown.pixel(1, 2), kGreen);
    QCOMPARE(shown.pixel(2, 2), kBlue);
    QCOMPARE(shown.pixel(3, 2), kWhite);
}

void PictureExTest::otherFormatsAreStillPictures()
{
    QImage image(5, 3, QImage::Format_RGB32);
    image.fill(kBlue);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(image.save(&buffer, "PNG"));

    CPictureEx picture;
    QVERIFY(picture.Load(png));
    QVERIFY(picture.Draw());
    QVERIFY(!picture.IsPlaying());
    QCOMPARE(picture.size(), QSize(5, 3));
    QCOMPARE(picture.GetOffscreenImage().pixel(4, 2), kBlue);
}

void PictureExTest::loadsFromTheResources()
{
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("gif")));
    QVERIFY(QFile::copy(QStringLiteral(ZARV_SOURCE_DIR "tests/widgets/fixtures/three.gif"), folder.filePath(QStringLiteral("gif/354.gif"))));
    ResourceImage::AddSearchFolder(folder.path());

    CPictureEx picture;
    QVERIFY(!picture.Load(QStringLiteral("355"), QStringLiteral("gif")));
    QVERIFY(picture.Load(QStringLiteral("354"), QStringLiteral("gif")));
    QCOMPARE(picture.GetFrameCount(), 3);
    QCOMPARE(picture.size(), QSize(8, 8));
}

void PictureExTest::malformedDataIsRefused_data()
{
    QTest::addColumn<QByteArray>("data");
    const QByteArray three = gifFixture("three.gif");
    QTest::newRow("garbage") << QByteArray("not a picture at all");
    QTest::newRow("GIF cut in the colour table") << three.left(20);
    QTest::newRow("GIF cut in the second frame") << three.left(110);
    QByteArray hugeScreen = three;
    hugeScreen[6] = hugeScreen[7] = hugeScreen[8] = hugeScreen[9] = char(0xFF);
    QTest::newRow("logical screen of 65535 x 65535") << hugeScreen;
    QByteArray emptyScreen = three;
    emptyScreen[6] = emptyScreen[7] = 0;
    QTest::newRow("logical screen 0 pixels wide") << emptyScreen;
}

void PictureExTest::malformedDataIsRefused()
{
    QFETCH(QByteArray, data);
    CPictureEx picture;
    QVERIFY(picture.Load(gifFixture("three.gif")));
    QVERIFY(!picture.Load(data));
    QVERIFY(!picture.Draw());
    QVERIFY(!picture.IsPlaying());
    QCOMPARE(picture.GetFrameCount(), 0);
}

void PictureExTest::threeFramesPlayInOrderAndStopWhenDestroyed()
{
    auto* picture = new CPictureEx;
    QVERIFY(picture->Load(gifFixture("three.gif")));
    QCOMPARE(picture->GetFrameCount(), 3);
    QSignalSpy shown(picture, &CPictureEx::frameShown);
    QVERIFY(picture->Draw());
    QVERIFY(picture->IsPlaying());
    QCOMPARE(GifAnimation::RunningThreads(), 1);

    QTRY_VERIFY_WITH_TIMEOUT(shown.count() >= 5, 20000);
    for (int i = 0; i < shown.count(); ++i)
        QCOMPARE(shown[i][0].toInt(), i % 3);
    WidgetImages::saveArtefact(picture->grab().toImage().scaled(64, 64), QStringLiteral("picture_playing"));

    delete picture;
    QCOMPARE(GifAnimation::RunningThreads(), 0);
}

void PictureExTest::stopEndsTheThread()
{
    CPictureEx picture;
    QVERIFY(picture.Load(gifFixture("disposal.gif")));
    QSignalSpy shown(&picture, &CPictureEx::frameShown);
    QVERIFY(picture.Draw());
    QVERIFY(shown.wait(20000));
    picture.Stop();
    QVERIFY(!picture.IsPlaying());
    QCOMPARE(GifAnimation::RunningThreads(), 0);

    // Played again after a stop.
    QVERIFY(picture.Draw());
    QVERIFY(picture.IsPlaying());
}

void PictureExTest::shortDelaysPlayAtOneHundredMs_data()
{
    QTest::addColumn<int>("delay");
    QTest::addColumn<int>("interval");
    QTest::newRow("0") << 0 << 100;
    QTest::newRow("4") << 4 << 100;
    QTest::newRow("5") << 5 << 50;
    QTest::newRow("10") << 10 << 100;
    QTest::newRow("65535") << 65535 << 655350;
}

void PictureExTest::shortDelaysPlayAtOneHundredMs()
{
    QFETCH(int, delay);
    QFETCH(int, interval);
    QCOMPARE(GifAnimation::FrameIntervalMs(delay), interval);
}

void PictureExTest::disposalRestoresBackgroundOrPrevious()
{
    GifComposer composer(QSize(8, 8), QColor(kWhite), decodedFrames("disposal.gif"));
    composer.DrawFrame(0);
    composer.DisposeFrame(0);
    QCOMPARE(composer.Snapshot().pixel(2, 2), kRed);

    composer.DrawFrame(1);
    const QImage ring = composer.Snapshot();
    WidgetImages::saveArtefact(ring.scaled(64, 64), QStringLiteral("picture_disposal_frame1"));
    QCOMPARE(ring.pixel(2, 2), kGreen);
    QCOMPARE(ring.pixel(3, 3), kRed); // transparent middle shows what was there
    composer.DisposeFrame(1);         // restore to previous
    QCOMPARE(composer.Snapshot().pixel(2, 2), kRed);

    composer.DrawFrame(2);
    QCOMPARE(composer.Snapshot().pixel(6, 6), kBlue);
    composer.DisposeFrame(2);         // restore to background
    const QImage restored = composer.Snapshot();
    QCOMPARE(restored.pixel(5, 5), kWhite);
    QCOMPARE(restored.pixel(6, 6), kWhite);
    QCOMPARE(restored.pixel(4, 4), kRed);
}

void PictureExTest::rewindFillsWithBackground()
{
    GifComposer composer(QSize(8, 8), QColor(kWhite), decodedFrames("three.gif"));
    composer.DrawFrame(2);
    composer.SetBackground(QColor(kGreen));
    composer.DrawFrame(0);
    composer.Rewind();
    QCOMPARE(composer.Snapshot().pixel(4, 4), kGreen);
}

void PictureExTest::setBkColorFillsTheOffscreenImage()
{
    CPictureEx picture;
    QVERIFY(picture.Load(gifFixture("still.gif")));
    QVERIFY(picture.Draw());
    picture.SetBkColor(Qt::blue);
    QCOMPARE(picture.GetOffscreenImage().pixel(0, 0), kBlue);
    QCOMPARE(picture.grab().toImage().pixel(3, 3), kBlue);
}

QTEST_MAIN(PictureExTest)
#include "PictureExTest.moc"
