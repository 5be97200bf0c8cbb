#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "tests/support/ManualClock.h"

#include <QElapsedTimer>
#include <QTest>

class ClockAndMessageBoxTest : public QObject {
    Q_OBJECT

private slots:
    void systemClockSleeps();
    void installedClockIsUsedUntilRemoved();
    void messageBoxGoesToTheInstalledHandler();
    void messageBoxWithoutHandlerDeclines_data();
    void messageBoxWithoutHandlerDeclines();
};

void ClockAndMessageBoxTest::systemClockSleeps()
{
    QElapsedTimer timer;
    timer.start();
    Clock::instance().sleep(50);
    QVERIFY(timer.elapsed() >= 45);
}

void ClockAndMessageBoxTest::installedClockIsUsedUntilRemoved()
{
    const QDateTime beforeMidnight(QDate(2026, 12, 11), QTime(23, 59, 50));
    {
        ManualClock clock(beforeMidnight);
        QCOMPARE(Clock::instance().now(), beforeMidnight);
        Clock::instance().sleep(20000);
        QCOMPARE(Clock::instance().now(), QDateTime(QDate(2026, 12, 12), QTime(0, 0, 10)));
        QCOMPARE(clock.sleptMilliseconds(), 20000);
    }
    QVERIFY(qAbs(Clock::instance().now().secsTo(QDateTime::currentDateTime())) < 5);
}

void ClockAndMessageBoxTest::messageBoxGoesToTheInstalledHandler()
{
    QStringList shown;
    auto previous = Platform::setMessageBoxHandler([&](const QString& text, const QString& caption, int buttons) {
        shown << text << caption << QString::number(buttons);
        return int(Platform::IDYES);
    });
    QCOMPARE(Platform::messageBox(QStringLiteral("Exit?"), QStringLiteral("ZARV"), Platform::MB_YESNO), int(Platform::IDYES));
    QCOMPARE(shown, (QStringList{"Exit?", "ZARV", "4"}));
    Platform::setMessageBoxHandler(previous);
}

void ClockAndMessageBoxTest::messageBoxWithoutHandlerDeclines_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("answer");
    QTest::newRow("ok") << int(Platform::MB_OK) << int(Platform::IDOK);
    QTest::newRow("ok cancel") << int(Platform::MB_OKCANCEL) << int(Platform::IDCANCEL);
    QTest::newRow("yes no") << int(Platform::MB_YESNO) << int(Platform::IDNO);
}

void ClockAndMessageBoxTest::messageBoxWithoutHandlerDeclines()
{
    QFETCH(int, buttons);
    QFETCH(int, answer);
    QCOMPARE(Platform::messageBox(QStringLiteral("text"), QString(), buttons), answer);
}

QTEST_GUILESS_MAIN(ClockAndMessageBoxTest)
#include "ClockAndMessageBoxTest.moc"
