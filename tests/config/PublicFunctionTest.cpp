#include "config/PublicFunction.h"

#include "platform/CodePage.h"
#include "platform/MessageBox.h"
#include "platform/ProgramDirectory.h"
#include "tests/support/MessageBoxRecorder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class PublicFunctionTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void moduleDirectoryIsTheProgramFolder();
    void buildFilter_data();
    void buildFilter();
    void deleteDirectoryRemovesTheWholeTree();
    void deleteDirectoryRefuses_data();
    void deleteDirectoryRefuses();
    void deleteDirectoryLeavesALinksTargetAlone();
    void writeTextFileReplacesTheFile_data();
    void writeTextFileReplacesTheFile();
    void writeTextFileThatCannotBeCreated_data();
    void writeTextFileThatCannotBeCreated();
    void isBlankText_data();
    void isBlankText();

private:
    QString Path(const QString& relative) const { return m_dir.filePath(relative); }
    void MakeFile(const QString& relative, const QByteArray& bytes = "x");

    CPublicFunction m_functions;
    QTemporaryDir m_dir;
    MessageBoxRecorder m_messages;
};

void PublicFunctionTest::init()
{
    QVERIFY(m_dir.isValid());
    m_messages.clear();
}

void PublicFunctionTest::cleanup()
{
}

void PublicFunctionTest::MakeFile(const QString& relative, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(Path(relative)).path());
    QFile file(Path(relative));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

void PublicFunctionTest::moduleDirectoryIsTheProgramFolder()
{
    QString directory = QStringLiteral("old");
    QVERIFY(m_functions.GetModuleDirectory(directory));
    QCOMPARE(directory, QCoreApplication::applicationDirPath() + u'/');

    Platform::setProgramDirectory(QStringLiteral("/srv/station"));
    QVERIFY(m_functions.GetModuleDirectory(directory));
    Platform::setProgramDirectory(QString());
    QCOMPARE(directory, QStringLiteral("/srv/station/"));
}

void PublicFunctionTest::buildFilter_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("extensions");
    QTest::addColumn<QString>("filter");
    QTest::newRow("package and all files") << QStringList{"VKB File(*.VKB)", "ALL Files(*.*)"} << QStringList{"vkb", "*.*"}
                                           << "VKB File(*.VKB)|*.vkb|ALL Files(*.*)|*.*.*||";
    QTest::newRow("empty lists") << QStringList() << QStringList() << "|";
    QTest::newRow("extra extensions are not used") << QStringList{"*.txt"} << QStringList{"txt", "log"} << "*.txt|*.txt||";
    QTest::newRow("missing extension is empty") << QStringList{"a", "b"} << QStringList{"x"} << "a|*.x|b|*.||";
}

void PublicFunctionTest::buildFilter()
{
    QFETCH(QStringList, names);
    QFETCH(QStringList, extensions);
    QFETCH(QString, filter);
    QCOMPARE(m_functions.BuildFilter(names, extensions), filter);
}

void PublicFunctionTest::deleteDirectoryRemovesTheWholeTree()
{
    MakeFile(QStringLiteral("scratch/a.txt"));
    MakeFile(QStringLiteral("scratch/.hidden"));
    MakeFile(QStringLiteral("scratch/deep/er/b.bin"));
    QVERIFY(QDir(Path(QStringLiteral("scratch"))).mkpath(QStringLiteral("empty")));
    QFile::setPermissions(Path(QStringLiteral("scratch/a.txt")), QFileDevice::ReadOwner);

    QVERIFY(m_functions.DeleteDirectory(Path(QStringLiteral("scratch"))));
    QVERIFY(!QFileInfo::exists(Path(QStringLiteral("scratch"))));
    QVERIFY(m_messages.texts().isEmpty());
}

void PublicFunctionTest::deleteDirectoryRefuses_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("missing") << "missing";
    QTest::newRow("plain file") << "kept.txt";
    QTest::newRow("empty path") << "";
}

// Nothing is deleted, nothing is shown.
void PublicFunctionTest::deleteDirectoryRefuses()
{
    QFETCH(QString, path);
    MakeFile(QStringLiteral("kept.txt"));
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir.path()));

    const bool deleted = m_functions.DeleteDirectory(path);
    QDir::setCurrent(previous);
    QVERIFY(!deleted);
    QVERIFY(QFileInfo::exists(Path(QStringLiteral("kept.txt"))));
    QVERIFY(m_messages.texts().isEmpty());
}

void PublicFunctionTest::deleteDirectoryLeavesALinksTargetAlone()
{
    MakeFile(QStringLiteral("target/keep.txt"));
    QVERIFY(QFile::link(Path(QStringLiteral("target")), Path(QStringLiteral("link"))));

    QVERIFY(m_functions.DeleteDirectory(Path(QStringLiteral("link"))));
    QVERIFY(!QFileInfo(Path(QStringLiteral("link"))).isSymLink());
    QVERIFY(QFileInfo::exists(Path(QStringLiteral("target/keep.txt"))));
}

void PublicFunctionTest::writeTextFileReplacesTheFile_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("lines") << "first line\r\nsecond line\r\n";
    QTest::newRow("empty text") << "";
    QTest::newRow("non-ASCII") << QString::fromUtf8("Prüfung 下载");
}

void PublicFunctionTest::writeTextFileReplacesTheFile()
{
    QFETCH(QString, text);
    const QString path = Path(QStringLiteral("out.txt"));
    MakeFile(QStringLiteral("out.txt"), QByteArray(4096, 'o'));

    QVERIFY(m_functions.WriteTextFile(path, text));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), Platform::toAnsiCodePage(text));
    QVERIFY(m_messages.texts().isEmpty());
}

void PublicFunctionTest::writeTextFileThatCannotBeCreated_data()
{
    QTest::addColumn<QString>("relative");
    QTest::newRow("missing folder") << "no/such/folder/out.txt";
    QTest::newRow("path is a folder") << "folder";
}

void PublicFunctionTest::writeTextFileThatCannotBeCreated()
{
    QFETCH(QString, relative);
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("folder")));
    const QString path = Path(relative);

    QVERIFY(!m_functions.WriteTextFile(path, QStringLiteral("text")));
    QCOMPARE(m_messages.texts(), QStringList{"Couldn't create the file: " + path});
    QVERIFY(!QFileInfo(path).isFile());
}

void PublicFunctionTest::isBlankText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("blank");
    QTest::newRow("empty") << "" << false;
    QTest::newRow("space") << " " << true;
    QTest::newRow("tab") << "\t" << true;
    QTest::newRow("line ends") << " \r\n\t" << true;
    QTest::newRow("letter among spaces") << " a " << false;
    QTest::newRow("form feed") << "\f" << false;
    QTest::newRow("no-break space") << QString(QChar(0x00A0)) << false;
}

void PublicFunctionTest::isBlankText()
{
    QFETCH(QString, text);
    QFETCH(bool, blank);
    QCOMPARE(m_functions.IsBlankText(text), blank);
}

QTEST_GUILESS_MAIN(PublicFunctionTest)
#include "PublicFunctionTest.moc"
