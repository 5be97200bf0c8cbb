#include "regex/Regex.h"

#include <QTest>

class RegexTest : public QObject {
    Q_OBJECT

private slots:
    void matchPosition_data();
    void matchPosition();
    void groups_data();
    void groups();
    void whiteSpaceIsExactlyFourCharacters_data();
    void whiteSpaceIsExactlyFourCharacters();
    void flagsFromTheCaller();
    void recompilingReplacesThePattern();
    void hostileInputEndsWithoutHanging_data();
    void hostileInputEndsWithoutHanging();
};

// end -1: no match.
void RegexTest::matchPosition_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("matchStart");
    QTest::addColumn<int>("matchEnd");

    QTest::newRow("first position wins") << "b" << "abcb" << -1 << 1 << 2;
    QTest::newRow("search from a start") << "b" << "abcb" << 2 << 3 << 4;
    QTest::newRow("start past the end") << "" << "abc" << 4 << -1 << -1;
    QTest::newRow("empty match at the end") << "$" << "abc" << -1 << 3 << 3;
    QTest::newRow("empty match is a match") << "x*" << "abc" << -1 << 0 << 0;
    QTest::newRow("greedy star gives back") << "a*ab" << "aaab" << -1 << 0 << 4;
    QTest::newRow("star takes the longest") << "\\w*" << "ab_9-c" << -1 << 0 << 4;

    QTest::newRow("closing parenthesis ends the pattern") << "a)b" << "xab" << -1 << 1 << 2;
    QTest::newRow("leading closing parenthesis") << ")abc" << "xyz" << -1 << 0 << 0;
    QTest::newRow("start-up step 1 as written") << "\"*.exe\")" << "\"C:\\A\\Z.exe\" \"D:\\b.vkb\"" << -1 << 7 << 12;
    QTest::newRow("group left open closes at the end") << "(ab" << "xab" << -1 << 1 << 3;
    QTest::newRow("set left open closes at the end") << "[ab" << "xb" << -1 << 1 << 2;
    QTest::newRow("star with nothing before it") << "*a" << "x*a" << -1 << 1 << 3;
    QTest::newRow("trailing backslash") << "a\\" << "a\\" << -1 << 0 << 2;

    QTest::newRow("caret only at position 0") << "^a" << "ba" << -1 << -1 << -1;
    QTest::newRow("caret ignores the start") << "^a" << "aa" << 1 << -1 << -1;
    QTest::newRow("dollar at the very end") << "a$" << "ba" << -1 << 1 << 2;
    QTest::newRow("dollar not before a final line feed") << "a$" << "a\n" << -1 << -1 << -1;
    QTest::newRow("dot skips line feed") << "." << "\nx" << -1 << 1 << 2;
    QTest::newRow("dot takes carriage return") << "a.b" << "a\rb" << -1 << 0 << 3;

    QTest::newRow("word class is ASCII") << "\\w" << QString::fromUtf8("é1") << -1 << 1 << 2;
    QTest::newRow("non-word takes other letters") << "\\W" << QString::fromUtf8("aé") << -1 << 1 << 2;
    QTest::newRow("digits") << "\\d\\D" << "a12b" << -1 << 2 << 4;
    QTest::newRow("escaped backslash") << "\\\\x" << "a\\x" << -1 << 1 << 3;
    QTest::newRow("escaped dot is plain") << "a\\.b" << "axb a.b" << -1 << 4 << 7;

    QTest::newRow("negated set") << "[^\\\\]*$" << "C:\\Tools\\ZARV_UI.exe" << -1 << 9 << 20;
    QTest::newRow("set with classes and bars") << "[\\w|.|\\W]*" << "a|b.\"c d" << -1 << 0 << 8;
    QTest::newRow("bar and dot plain in a set") << "[|.]+" << "ab.|c" << -1 << 2 << 4;
    QTest::newRow("range") << "[0-9]+" << "ab123c" << -1 << 2 << 5;
    QTest::newRow("dash at the edge is plain") << "[a-]+" << "x-a-y" << -1 << 1 << 4;
    QTest::newRow("closing bracket first is plain") << "[]a]+" << "x]a]" << -1 << 1 << 4;
    QTest::newRow("escaped bracket in a set") << "[\\]]" << "a]" << -1 << 1 << 2;
    QTest::newRow("reversed range matches nothing") << "[z-a]" << "m" << -1 << -1 << -1;

    QTest::newRow("(?i) folds ASCII letters") << "(?i)vkb" << "a.VkB" << -1 << 2 << 5;
    QTest::newRow("(?i) starts where it is written") << "a(?i)b" << "AB aB" << -1 << 3 << 5;
    QTest::newRow("(?i) ends with its group") << "(a(?i)b)c" << "aBC aBc" << -1 << 4 << 7;
    QTest::newRow("(?i) reaches later alternatives") << "(x(?i)y|z)" << "Z" << -1 << 0 << 1;
    QTest::newRow("(?i) reaches sets") << "(?i)[a-c]" << "xB" << -1 << 1 << 2;
    QTest::newRow("(?i) leaves other letters alone") << QString::fromUtf8("(?i)ä") << QString::fromUtf8("Ä") << -1 << -1 << -1;
    QTest::newRow("without (?i) case counts") << "vkb" << "VKB" << -1 << -1 << -1;

    QTest::newRow("look-behind") << "(?<=\")x" << "ax\"x" << -1 << 3 << 4;
    QTest::newRow("look-behind fails") << "(?<=\")x" << "ax" << -1 << -1 << -1;
    QTest::newRow("look-behind sees before the start") << "(?<=\")x" << "\"x" << 1 << 1 << 2;
    QTest::newRow("look-behind of several characters") << "(?<=ab)c" << "acbc abc" << -1 << 7 << 8;
    QTest::newRow("look-behind runs right to left") << "(?<=^a*)b" << "aaab ab" << -1 << 3 << 4;
    QTest::newRow("look-behind with a class run") << "(?<=x\\w*)z" << "az xyz" << -1 << 5 << 6;
    QTest::newRow("look-behind at the start") << "(?<=a)" << "ba" << -1 << 2 << 2;
    QTest::newRow("negative look-behind") << "(?<!a)b" << "abcb" << -1 << 3 << 4;
    QTest::newRow("look-ahead") << "a(?=b)" << "acab" << -1 << 2 << 3;
    QTest::newRow("look-ahead consumes nothing") << "a(?=b)b" << "ab" << -1 << 0 << 2;
    QTest::newRow("negative look-ahead") << "a(?!b)" << "abac" << -1 << 2 << 3;

    QTest::newRow("alternation") << "cat|dog" << "hotdog" << -1 << 3 << 6;
    QTest::newRow("first alternative first") << "a|ab" << "ab" << -1 << 0 << 1;
    QTest::newRow("plus") << "ab+" << "a abb" << -1 << 2 << 5;
    QTest::newRow("question mark") << "ab?c" << "ac" << -1 << 0 << 2;
    QTest::newRow("repeat of a repeat") << "(a*)*b" << "aab" << -1 << 0 << 3;
}

void RegexTest::matchPosition()
{
    QFETCH(QString, pattern);
    QFETCH(QString, text);
    QFETCH(int, start);
    QFETCH(int, matchStart);
    QFETCH(int, matchEnd);

    CRegex regex;
    regex.Compile(pattern);
    const MatchResult result = regex.Match(text, start);
    QCOMPARE(result.IsMatched(), matchEnd >= 0);
    QCOMPARE(result.Start(), matchStart);
    QCOMPARE(result.End(), matchEnd);
}

// bounds: start and end of each group from 1.
void RegexTest::groups_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("bounds");

    QTest::newRow("numbered by opening parenthesis") << "((a)(b))" << "xab" << QList<int>{1, 3, 1, 2, 2, 3};
    QTest::newRow("group that took no part") << "(a)|(b)" << "b" << QList<int>{-1, -1, 0, 1};
    QTest::newRow("repeated group keeps its last pass") << "(\\w)*" << "abc" << QList<int>{2, 3};
    QTest::newRow("look-arounds do not count") << "(?<=(x))(?:y)(z)" << "xyz" << QList<int>{0, 1, 2, 3};
    QTest::newRow("groups inside a look-behind") << "(?<=(a)(b))c" << "abc" << QList<int>{0, 1, 1, 2};
    QTest::newRow("modifier is no group") << "(?i)(a)" << "A" << QList<int>{0, 1};
    QTest::newRow("start-up step 2")
        << "((?<=\")(\\w:\\W)([\\w|.|\\W]*).(?i)vkb(?=\"))" << " \"D:\\x.VKB\"" << QList<int>{2, 10, 2, 5, 5, 6};
}

void RegexTest::groups()
{
    QFETCH(QString, pattern);
    QFETCH(QString, text);
    QFETCH(QList<int>, bounds);

    CRegex regex;
    regex.Compile(pattern);
    const MatchResult result = regex.Match(text);
    QVERIFY(result.IsMatched());
    QCOMPARE(result.GroupCount(), bounds.size() / 2);
    for (int group = 1; group <= result.GroupCount(); ++group) {
        QCOMPARE(result.Start(group), bounds[2 * group - 2]);
        QCOMPARE(result.End(group), bounds[2 * group - 1]);
    }
    QCOMPARE(result.Start(result.GroupCount() + 1), -1);
}

void RegexTest::whiteSpaceIsExactlyFourCharacters_data()
{
    QTest::addColumn<QChar>("character");
    QTest::addColumn<bool>("space");
    QTest::newRow("space") << QChar(u' ') << true;
    QTest::newRow("tab") << QChar(u'\t') << true;
    QTest::newRow("carriage return") << QChar(u'\r') << true;
    QTest::newRow("line feed") << QChar(u'\n') << true;
    QTest::newRow("vertical tab") << QChar(u'\v') << false;
    QTest::newRow("form feed") << QChar(u'\f') << false;
    QTest::newRow("no-break space") << QChar(0x00A0) << false;
    QTest::newRow("ideographic space") << QChar(0x3000) << false;
    QTest::newRow("letter") << QChar(u'a') << false;
}

void RegexTest::whiteSpaceIsExactlyFourCharacters()
{
    QFETCH(QChar, character);
    QFETCH(bool, space);
    CRegex regex;
    for (const QString& pattern : {QStringLiteral("\\s"), QStringLiteral("[\\s]")}) {
        regex.Compile(pattern);
        QCOMPARE(regex.Match(QString(character)).IsMatched(), space);
    }
    for (const QString& pattern : {QStringLiteral("\\S"), QStringLiteral("[\\S]")}) {
        regex.Compile(pattern);
        QCOMPARE(regex.Match(QString(character)).IsMatched(), !space);
    }
}

void RegexTest::flagsFromTheCaller()
{
    CRegex regex;
    regex.Compile(u"a.b", CRegex::SingleLine);
    QVERIFY(regex.Match(u"a\nb").IsMatched());
    regex.Compile(u"vkb", CRegex::IgnoreCase);
    QCOMPARE(regex.Match(u"x.VKB").Start(), 2);
    regex.Compile(u"v(?-i)kb", CRegex::IgnoreCase);
    QVERIFY(!regex.Match(u"VKB").IsMatched());
    QVERIFY(regex.Match(u"Vkb").IsMatched());
}

void RegexTest::recompilingReplacesThePattern()
{
    CRegex regex;
    QVERIFY(!regex.Match(u"").IsMatched());
    regex.Compile(u"(a)(b)");
    QCOMPARE(regex.Match(u"ab").GroupCount(), 2);
    regex.Compile(u"c");
    const MatchResult result = regex.Match(u"abc");
    QCOMPARE(result.Start(), 2);
    QCOMPARE(result.GroupCount(), 0);
}

// Each row must end (the ctest timeout would catch a hang) with the status given.
void RegexTest::hostileInputEndsWithoutHanging_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("status");
    const int noMatch = int(MatchResult::Status::NoMatch);
    const int tooComplex = int(MatchResult::Status::TooComplex);
    const QString manyA(20000, u'a');
    const QString someA(1000, u'a');

    QTest::newRow("nested stars") << "(a*)*b" << manyA << noMatch;
    QTest::newRow("alternatives that overlap") << "(a|a|aa)*b" << manyA << noMatch;
    QTest::newRow("empty loops") << "(a?)*(?:)*$x" << manyA << noMatch;
    QTest::newRow("repeated look-arounds") << "((?=a)|(?<=a))*b" << manyA << noMatch;
    QTest::newRow("long run of stars") << "a" + QString(100000, u'*') + "b" << manyA << noMatch;
    QTest::newRow("many groups") << QStringLiteral("(a)").repeated(3000) + "b" << someA << noMatch;
    QTest::newRow("nesting at the limit") << QString(100, u'(') + "b" << someA << noMatch;
    QTest::newRow("nesting past the limit") << QString(100000, u'(') << someA << tooComplex;
    QTest::newRow("look-arounds nested in look-arounds") << "(?=.*(?=.*(?=.*(?=.*b))))" << manyA << tooComplex;
    QTest::newRow("text too long to track") << "[^/]*$" << QString(14'000'000, u'a') << tooComplex;
}

void RegexTest::hostileInputEndsWithoutHanging()
{
    QFETCH(QString, pattern);
    QFETCH(QString, text);
    QFETCH(int, status);
    CRegex regex;
    regex.Compile(pattern);
    QCOMPARE(int(regex.Match(text).status), status);
}

QTEST_APPLESS_MAIN(RegexTest)
#include "RegexTest.moc"
