#include "platform/CodePage.h"

#include <QTest>

class CodePageTest : public QObject {
    Q_OBJECT

private slots:
    void codePage936RoundTrips_data();
    void codePage936RoundTrips();
    void unrepresentableCharactersBecomeQuestionMarks();
    void undecodableBytesBecomeReplacementCharacters();
    void ansiCodePageOfThisLocaleRoundTrips();
    void namedCodePages();
};

void CodePageTest::codePage936RoundTrips_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("ascii") << QStringLiteral("TestStation=DOWNLOAD") << QByteArray("TestStation=DOWNLOAD");
    QTest::newRow("chinese") << QStringLiteral("下载") << QByteArray("\xCF\xC2\xD4\xD8");
    QTest::newRow("empty") << QString() << QByteArray();
}

void CodePageTest::codePage936RoundTrips()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(Platform::toCodePage936(text), bytes);
    QCOMPARE(Platform::fromCodePage936(bytes), text);
}

void CodePageTest::unrepresentableCharactersBecomeQuestionMarks()
{
    QCOMPARE(Platform::toCodePage936(QStringLiteral("a\u0E01b")), QByteArray("a?b"));
}

void CodePageTest::undecodableBytesBecomeReplacementCharacters()
{
    QCOMPARE(Platform::fromCodePage936(QByteArray("a\xFF")), QStringLiteral("a\uFFFD"));
}

void CodePageTest::ansiCodePageOfThisLocaleRoundTrips()
{
    const QString text = QStringLiteral("Model X1");
    QCOMPARE(Platform::fromAnsiCodePage(Platform::toAnsiCodePage(text)), text);
}

void CodePageTest::namedCodePages()
{
    QCOMPARE(Platform::fromNamedCodePage("GB2312", QByteArray("\xCF\xC2\xD4\xD8")), std::optional<QString>(QStringLiteral("下载")));
    QCOMPARE(Platform::fromNamedCodePage("NO-SUCH-CODE", QByteArray("a")), std::nullopt);
    const auto reference = [](char32_t c) { return "&#" + QByteArray::number(uint(c)) + ';'; };
    QCOMPARE(Platform::toNamedCodePage("ISO-8859-1", QStringLiteral("é下\U0001F600"), reference),
             std::optional<QByteArray>(QByteArray("\xE9&#19979;&#128512;")));
    QCOMPARE(Platform::toNamedCodePage("NO-SUCH-CODE", QStringLiteral("a"), reference), std::nullopt);
}

QTEST_GUILESS_MAIN(CodePageTest)
#include "CodePageTest.moc"
