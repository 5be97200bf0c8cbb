#include "records/FileNamePart.h"

#include <QTest>

class FileNamePartTest : public QObject {
    Q_OBJECT

private slots:
    void safePart_data();
    void safePart();
};

void FileNamePartTest::safePart_data()
{
    QTest::addColumn<QString>("part");
    QTest::addColumn<QString>("safe");
    QTest::newRow("ordinary") << "VK5013 v1.2" << "VK5013 v1.2";
    QTest::newRow("non-ASCII kept") << "测试站" << "测试站";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("every forbidden character") << "a\\b/c:d*e?f\"g<h>i|j" << "a-b-c-d-e-f-g-h-i-j";
    QTest::newRow("control characters") << QStringLiteral("a\tb\nc\u0001d\u007fe") << "a-b-c-d-e";
    QTest::newRow("current folder") << "." << "-";
    QTest::newRow("parent folder") << ".." << "--";
    QTest::newRow("dots inside a name") << "..." << "...";
    QTest::newRow("climbing path") << "../../etc" << "..-..-etc";
}

void FileNamePartTest::safePart()
{
    QFETCH(QString, part);
    QFETCH(QString, safe);
    QCOMPARE(SafeFileNamePart(part), safe);
}

QTEST_GUILESS_MAIN(FileNamePartTest)
#include "FileNamePartTest.moc"
