#include "widgets/GifFrame.h"
#include "widgets/GifParser.h"
#include "tests/widgets/GifFixtures.h"

#include <QFile>
#include <QTest>

class GifParserTest : public QObject {
    Q_OBJECT

private slots:
    void readsScreenBackgroundAndFrames_data();
    void readsScreenBackgroundAndFrames();
    void framesAreStandAloneGifs();
    void refusesMalformedData_data();
    void refusesMalformedData();
    void refusesEveryTruncation();
    void backgroundIndexOutsideTheTableGivesNoColour();
};

namespace {

// A header, a logical screen with a four-colour global table, and nothing after it.
QByteArray screenOnly()
{
    return gifFixture("three.gif").left(25);
}

} // namespace

void GifParserTest::readsScreenBackgroundAndFrames_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QList<QRect>>("rects");
    QTest::addColumn<QList<int>>("delays");
    QTest::addColumn<QList<int>>("disposals");

    QTest::newRow("one image") << gifFixture("still.gif") << QSize(4, 4) << QList<QRect>{{0, 0, 4, 4}}
                               << QList<int>{0} << QList<int>{0};
    QTest::newRow("three full frames") << gifFixture("three.gif") << QSize(8, 8)
                                       << QList<QRect>{{0, 0, 8, 8}, {0, 0, 8, 8}, {0, 0, 8, 8}}
                                       << QList<int>{2, 2, 2} << QList<int>{1, 1, 1};
    QTest::newRow("partial frames, local table") << gifFixture("disposal.gif") << QSize(8, 8)
                                                 << QList<QRect>{{0, 0, 8, 8}, {2, 2, 3, 3}, {5, 5, 2, 2}}
                                                 << QList<int>{10, 10, 10} << QList<int>{1, 3, 2};
}

void GifParserTest::readsScreenBackgroundAndFrames()
{
    QFETCH(QByteArray, data);
    QFETCH(QSize, screen);
    QFETCH(QList<QRect>, rects);
    QFETCH(QList<int>, delays);
    QFETCH(QList<int>, disposals);

    const std::optional<GifParser::Contents> contents = GifParser::Parse(data);
    QVERIFY(contents);
    QCOMPARE(contents->screen, screen);
    QCOMPARE(contents->background, std::optional<QRgb>(qRgb(255, 255, 255)));
    QCOMPARE(contents->frames.size(), rects.size());
    for (int i = 0; i < rects.size(); ++i) {
        QCOMPARE(contents->frames[i].rect, rects[i]);
        QCOMPARE(contents->frames[i].delay, delays[i]);
        QCOMPARE(contents->frames[i].disposal, disposals[i]);
    }
}

void GifParserTest::framesAreStandAloneGifs()
{
    const QByteArray data = gifFixture("disposal.gif");
    const std::optional<GifParser::Contents> contents = GifParser::Parse(data);
    QVERIFY(contents);
    for (const GifParser::Frame& piece : contents->frames) {
        QVERIFY(piece.gif.startsWith(screenOnly()));
        QVERIFY(piece.gif.endsWith('\x3B'));
        QVERIFY(GifParser::Parse(piece.gif));
    }

    const GifFrame background = GifFrame::Decode(contents->frames[0]);
    QCOMPARE(background.picture.size(), QSize(8, 8));
    QCOMPARE(background.picture.pixel(7, 7), qRgb(255, 0, 0));

    // The frame keeps its own pixels: green with a transparent middle.
    const GifFrame ring = GifFrame::Decode(contents->frames[1]);
    QCOMPARE(ring.picture.size(), QSize(3, 3));
    QCOMPARE(ring.picture.pixel(0, 0), qRgb(0, 255, 0));
    QCOMPARE(qAlpha(ring.picture.pixel(1, 1)), 0);

    // Index 0 is blue in the frame's own table, red in the global one.
    const GifFrame square = GifFrame::Decode(contents->frames[2]);
    QCOMPARE(square.picture.size(), QSize(2, 2));
    QCOMPARE(square.picture.pixel(1, 1), qRgb(0, 0, 255));
}

void GifParserTest::refusesMalformedData_data()
{
    QTest::addColumn<QByteArray>("data");
    const QByteArray three = gifFixture("three.gif");
    QByteArray unknownBlock = screenOnly() + "\x55" + three.mid(25);
    QByteArray tableLongerThanFile = screenOnly().left(13);
    tableLongerThanFile[10] = char(0x87); // 256 entries announced, none present

    QTest::newRow("empty") << QByteArray();
    QTest::newRow("not a GIF") << QByteArray("\x89PNG\r\n\x1a\n0000000000000");
    QTest::newRow("header only") << QByteArray("GIF89a");
    QTest::newRow("colour table longer than the file") << tableLongerThanFile;
    QTest::newRow("no image") << screenOnly() + "\x3B";
    QTest::newRow("unknown block") << unknownBlock;
    QTest::newRow("extension without label") << screenOnly() + "\x21";
    QTest::newRow("trailer missing") << three.chopped(1);
}

void GifParserTest::refusesMalformedData()
{
    QFETCH(QByteArray, data);
    QVERIFY(!GifParser::Parse(data));
}

void GifParserTest::refusesEveryTruncation()
{
    const QByteArray data = gifFixture("disposal.gif");
    QVERIFY(GifParser::Parse(data));
    for (qsizetype length = 0; length < data.size(); ++length) {
        if (GifParser::Parse(data.left(length)))
            QFAIL(qPrintable(QStringLiteral("accepted the first %1 bytes").arg(length)));
    }
}

void GifParserTest::backgroundIndexOutsideTheTableGivesNoColour()
{
    QByteArray data = gifFixture("three.gif");
    data[11] = char(200); // the table has four entries
    const std::optional<GifParser::Contents> contents = GifParser::Parse(data);
    QVERIFY(contents);
    QVERIFY(!contents->background);
    QCOMPARE(contents->frames.size(), 3);
}

QTEST_GUILESS_MAIN(GifParserTest)
#include "GifParserTest.moc"
