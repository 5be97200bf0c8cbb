#include "platform/MessageBox.h"
#include "platform/ProgramDirectory.h"
#include "records/MessageLoggerModel.h"
#include "records/RtfWriter.h"
#include "tests/support/ManualClock.h"
#include "tests/support/MessageBoxRecorder.h"

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct LoggedLine {
    QString text;
    int level;
};

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class ScreenDumpTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void dumpNameAndLocation_data();
    void dumpNameAndLocation();
    void dumpHoldsThePageAsRtf();
    void dumpOfTheSameSecondReplacesTheEarlierOne();
    void unwritableDumpIsReportedAndNotLogged();
    void refusedWriteIsReported();

private:
    MessageLoggerModel& newModel();
    QStringList filesUnder(const QString& folder) const;

    QTemporaryDir m_dir;
    std::unique_ptr<ManualClock> m_clock;
    std::unique_ptr<MessageLoggerModel> m_model;
    QList<LoggedLine> m_logged;
    MessageBoxRecorder m_messageBoxes;
};

void ScreenDumpTest::init()
{
    QDir(m_dir.path()).removeRecursively();
    QDir().mkpath(m_dir.filePath(QStringLiteral("program")));
    Platform::setProgramDirectory(m_dir.filePath(QStringLiteral("program")));
    // records must not be written here: no station has been seen, and the drives are empty
    qputenv("ZARV_DRIVE_E", m_dir.filePath(QStringLiteral("e")).toLocal8Bit());
    qputenv("ZARV_DRIVE_D", m_dir.filePath(QStringLiteral("d")).toLocal8Bit());
    m_clock = std::make_unique<ManualClock>(QDateTime(QDate(2014, 3, 3), QTime(9, 5, 7)));
    m_logged.clear();
    m_messageBoxes.clear();
}

void ScreenDumpTest::cleanup()
{
    m_model.reset();
    m_clock.reset();
    Platform::setProgramDirectory(QString());
    qunsetenv("ZARV_DRIVE_E");
    qunsetenv("ZARV_DRIVE_D");
}

MessageLoggerModel& ScreenDumpTest::newModel()
{
    m_model = std::make_unique<MessageLoggerModel>();
    m_model->setLogFunction([this](const QString& text, int level) { m_logged.append({text, level}); });
    return *m_model;
}

QStringList ScreenDumpTest::filesUnder(const QString& folder) const
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(m_dir.path()).relativeFilePath(it.next());
    files.sort();
    return files;
}

void ScreenDumpTest::dumpNameAndLocation_data()
{
    QTest::addColumn<QDateTime>("time");
    QTest::addColumn<int>("cell");
    QTest::addColumn<QString>("model");
    QTest::addColumn<bool>("passed");
    QTest::addColumn<QString>("file");

    const QDateTime march3(QDate(2014, 3, 3), QTime(9, 5, 7));
    QTest::newRow("cell 2 failing") << march3 << 2 << "T98" << false << "2014-03-03/T98_FAILED_CELL2_09.05.07.rtf";
    QTest::newRow("cell 0 passing") << QDateTime(QDate(2015, 12, 31), QTime(23, 59, 59)) << 0 << "VK_5013" << true
                                    << "2015-12-31/VK_5013_SUCCEED_CELL0_23.59.59.rtf";
    QTest::newRow("empty model name") << march3 << 7 << "" << true << "2014-03-03/_SUCCEED_CELL7_09.05.07.rtf";
    QTest::newRow("model that climbs out") << march3 << 1 << "../../etc" << false
                                           << "2014-03-03/..-..-etc_FAILED_CELL1_09.05.07.rtf";
    QTest::newRow("model with forbidden characters") << march3 << 1 << "a\\b:c*d?e\"f<g>h|i\x01j" << false
                                                     << "2014-03-03/a-b-c-d-e-f-g-h-i-j_FAILED_CELL1_09.05.07.rtf";
    QTest::newRow("model that is a parent folder") << march3 << 1 << ".." << false
                                                   << "2014-03-03/--_FAILED_CELL1_09.05.07.rtf";
}

void ScreenDumpTest::dumpNameAndLocation()
{
    QFETCH(QDateTime, time);
    QFETCH(int, cell);
    QFETCH(QString, model);
    QFETCH(bool, passed);
    QFETCH(QString, file);

    m_clock->setNow(time);
    MessageLoggerModel& logger = newModel();
    logger.AppendCellMessage(cell, QStringLiteral("Download Started..."), lineColourRgb(LineProgress));
    logger.WriteRecords(cell, model, passed);

    const QString path = m_dir.filePath(QStringLiteral("program/DownloadScrrenDump/") + file);
    QCOMPARE(filesUnder(m_dir.path()), QStringList{QDir(m_dir.path()).relativeFilePath(path)});
    QCOMPARE(m_logged.size(), 1);
    QCOMPARE(m_logged[0].text, QStringLiteral("The download screen dump has been saved at: ") + path);
    QCOMPARE(m_logged[0].level, 0);
    QVERIFY(m_messageBoxes.texts().isEmpty());
}

void ScreenDumpTest::dumpHoldsThePageAsRtf()
{
    MessageLoggerModel& logger = newModel();
    logger.AppendCellMessage(2, QStringLiteral("Download Started..."), lineColourRgb(LineProgress));
    logger.AppendCellMessage(2, QStringLiteral("TestStation=OTHER"), kRecordLineRgb);
    m_clock->setNow(m_clock->now().addSecs(1));
    logger.AppendCellMessage(2, QStringLiteral("path C:\\a{b}\tend"), lineColourRgb(LineInformation));
    logger.AppendCellMessage(2, QStringLiteral("中文 \uAC00 \U0001F600"), lineColourRgb(LineProgress));
    logger.AppendCellMessage(2, QStringLiteral("Failed!"), lineColourRgb(LineError));
    logger.AppendCellMessage(3, QStringLiteral("other cell"), lineColourRgb(LineSuccess));
    logger.WriteRecords(2, QStringLiteral("T98"), false);

    const QByteArray expected =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fnil\\fcharset0 MS Shell Dlg;}}\r\n"
        "{\\colortbl ;\\red238\\green180\\blue31;\\red64\\green196\\blue255;\\red255\\green35\\blue35;}\r\n"
        "\\viewkind4\\pard\\f0\r\n"
        "\\cf1\\fs23\\b0 09:05:07  CELL2: Download Started...\\par\r\n"
        "\\cf2\\fs23\\b0 09:05:08  CELL2: path C:\\\\a\\{b\\}\\tab end\\par\r\n"
        "\\cf1\\fs23\\b0 09:05:08  CELL2: \\u20013?\\u25991? \\u-21504? \\u-10179?\\u-8704?\\par\r\n"
        "\\cf3\\fs23\\b0 09:05:08  CELL2: Failed!\\par\r\n"
        "}\r\n";
    QCOMPARE(readFile(m_dir.filePath(QStringLiteral("program/DownloadScrrenDump/2014-03-03/T98_FAILED_CELL2_09.05.08.rtf"))),
             expected);
}

void ScreenDumpTest::dumpOfTheSameSecondReplacesTheEarlierOne()
{
    MessageLoggerModel& logger = newModel();
    logger.AppendCellMessage(5, QStringLiteral("first"), lineColourRgb(LineProgress));
    logger.WriteRecords(5, QStringLiteral("M"), true);
    logger.AppendCellMessage(5, QStringLiteral("second"), lineColourRgb(LineProgress));
    m_clock->setNow(m_clock->now().addMSecs(900));
    logger.WriteRecords(5, QStringLiteral("M"), true);
    logger.WriteRecords(5, QStringLiteral("M"), false);

    QCOMPARE(filesUnder(m_dir.path()), (QStringList{"program/DownloadScrrenDump/2014-03-03/M_FAILED_CELL5_09.05.07.rtf",
                                                    "program/DownloadScrrenDump/2014-03-03/M_SUCCEED_CELL5_09.05.07.rtf"}));
    const QByteArray dump = readFile(m_dir.filePath(QStringLiteral("program/DownloadScrrenDump/2014-03-03/M_SUCCEED_CELL5_09.05.07.rtf")));
    QVERIFY(dump.contains("CELL5: first\\par"));
    QVERIFY(dump.contains("CELL5: second\\par"));
    QCOMPARE(m_logged.size(), 3);
}

void ScreenDumpTest::unwritableDumpIsReportedAndNotLogged()
{
    // a file where the dump root should be: no folder can be made under it
    QFile blocker(m_dir.filePath(QStringLiteral("program/DownloadScrrenDump")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    MessageLoggerModel& logger = newModel();
    logger.AppendCellMessage(0, QStringLiteral("line"), lineColourRgb(LineProgress));
    logger.WriteRecords(0, QStringLiteral("M"), true);

    QVERIFY(m_logged.isEmpty());
    QCOMPARE(m_messageBoxes.texts().size(), 1);
    QVERIFY2(m_messageBoxes.texts()[0].startsWith(QStringLiteral("The download screen dump could not be saved at: ")
                                          + blocker.fileName() + QStringLiteral("/2014-03-03/M_SUCCEED_CELL0_09.05.07.rtf\n")),
             qPrintable(m_messageBoxes.texts()[0]));
    QCOMPARE(filesUnder(m_dir.path()), QStringList{"program/DownloadScrrenDump"});
}

void ScreenDumpTest::refusedWriteIsReported()
{
    CellPageDocument page;
    page.append({QStringLiteral("text\n"), lineColourRgb(LineProgress), 225, 400});
    QBuffer readOnly;
    QVERIFY(readOnly.open(QIODevice::ReadOnly));
    QTest::ignoreMessage(QtWarningMsg, "QIODevice::write (QBuffer): ReadOnly device");
    QVERIFY(!RtfWriter(readOnly).write(page));
}

QTEST_GUILESS_MAIN(ScreenDumpTest)
#include "ScreenDumpTest.moc"
