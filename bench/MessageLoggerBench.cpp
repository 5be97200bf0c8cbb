// Feeds the message logger a million cell lines of a realistic mix and prints the
// cost per line at the start and at the end of the run: a page that grows must
// not make adding to it dearer.
#include "platform/ProgramDirectory.h"
#include "records/MessageLoggerModel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int kLines = 1'000'000;
constexpr int kBlock = 10'000;

void appendBlock(MessageLoggerModel& logger, int first)
{
    static const QString shown = QStringLiteral("Downloading all files: partition system written, 57 %");
    static const QString record = QStringLiteral("Attribute_Item=some value");
    for (int i = first; i < first + kBlock; ++i) {
        const int cell = i % MessageLoggerModel::kCellCount;
        if (i % 10 == 0)
            logger.AppendCellMessage(cell, record, kRecordLineRgb);
        else
            logger.AppendCellMessage(cell, shown, lineColourRgb(i % 4));
    }
}

double nanosecondsPerLine(MessageLoggerModel& logger, int first)
{
    QElapsedTimer timer;
    timer.start();
    appendBlock(logger, first);
    return double(timer.nsecsElapsed()) / kBlock;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir programDir;
    Platform::setProgramDirectory(programDir.path());
    MessageLoggerModel logger;

    QElapsedTimer total;
    total.start();
    const double first = nanosecondsPerLine(logger, 0);
    double last = 0;
    for (int block = kBlock; block < kLines; block += kBlock)
        last = nanosecondsPerLine(logger, block);
    const double seconds = double(total.nsecsElapsed()) / 1e9;

    std::printf("lines appended:           %d over 8 cells\n", kLines);
    std::printf("lines per second:         %.0f\n", kLines / seconds);
    std::printf("cost per line, first %dk: %.0f ns\n", kBlock / 1000, first);
    std::printf("cost per line, last %dk:  %.0f ns\n", kBlock / 1000, last);
    std::printf("lines on cell 0's page:   %zu\n", logger.page(0).lineCount());
    return 0;
}
