// Posts a million engine reports of a realistic mix (mostly progress, some
// messages, state changes and device events, eight cells) through the real
// callbacks, the event loop and the dispatch, and prints the cost per report at
// the start and at the end of the run: nothing may grow with the reports handled.
#include "download/DownloadController.h"
#include "download/EngineCallbacks.h"
#include "download/EngineText.h"
#include "download/relays/ICellGrid.h"
#include "download/relays/ICellPages.h"
#include "download/relays/ICommonSettingsPage.h"
#include "download/relays/IMainFrame.h"
#include "download/relays/IMainFrameCommands.h"
#include "download/relays/IProgressWindow.h"
#include "download/relays/IPromptList.h"
#include "download/relays/ISettingsView.h"
#include "platform/ProgramDirectory.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {

constexpr int kBatch = 10'000;
constexpr int kBatchesCompared = 10;

// Windows that only count what reaches them, so the figures are the dispatch's own.
class CountingWindows final : public IMainFrame,
                              public IMainFrameCommands,
                              public IPromptList,
                              public ICellPages,
                              public ICellGrid,
                              public IProgressWindow,
                              public ISettingsView,
                              public ICommonSettingsPage {
public:
    long long calls = 0;

    IMainFrameCommands* commands() override { return this; }
    IPromptList* promptList() override { return this; }
    ICellPages* cellPages() override { return this; }
    ICellGrid* cellGrid() override { return this; }
    IProgressWindow* progressWindow() override { return this; }
    ISettingsView* settingsView() override { return this; }
    ICommonSettingsPage* commonSettingsPage() override { return this; }
    IConfigDialog* configDialogIfOpen() override { return nullptr; }

    void SetCommandsEnabled(bool) override { ++calls; }
    void SetFrameCommands(bool) override { ++calls; }
    void SetStopEnabled(bool) override { ++calls; }
    void PressStop() override { ++calls; }
    void AddRecentPackage(const QString&, int) override { ++calls; }
    void AddMessage(const QString&, int) override { ++calls; }
    void AppendCellMessage(int, const QString&, RgbColour) override { ++calls; }
    void ShowPage(int) override { ++calls; }
    void ClearCellPage(int) override { ++calls; }
    void WriteRecords(int, const QString&, bool) override { ++calls; }
    void ShowCellStatus(int, int) override { ++calls; }
    void ShowCellState(int, int) override { ++calls; }
    void ShowCellProgress(int, int, int, int) override { ++calls; }
    void SelectPage(int) override { ++calls; }
    bool SetRowValue(int, const QString&) override { return ++calls != 0; }
};

// One report of the mix; out of every hundred: a device attached and one removed,
// a download started and one finished (passed or failed), ten messages (one for
// no cell) and eighty-four progress reports.
void report(int index)
{
    const int cell = index % 8;
    const int slot = index % 100;
    if (slot == 0 || slot == 99) {
        EngineDeviceRecord device{};
        device.cell = cell;
        device.link = slot == 0 ? 1 : 0;
        setEngineText(device.usbAddress, u"USB1-4.2");
        OnEngineDevice(device);
    } else if (slot == 1 || slot == 50) {
        OnEngineState(cell, 3, slot == 1 ? 1 : 2 + (index / 100) % 2);
    } else if (slot >= 2 && slot < 12) {
        EngineMessageRecord message{};
        message.cell = slot == 2 ? -1 : cell;
        message.kind = slot % 6;
        setEngineText(message.text, u"Writing partition system: block 1234 of 5678 verified");
        OnEngineMessage(message);
    } else {
        OnEngineProgress(cell, 1'000'000, (index * 37) % 1'000'000);
    }
}

// Posts a batch from a thread of its own, as the engine does, and handles it.
double nanosecondsPerReport(int first)
{
    QElapsedTimer timer;
    timer.start();
    std::thread([first] {
        for (int index = first; index < first + kBatch; ++index)
            report(index);
    }).join();
    QCoreApplication::processEvents();
    return double(timer.nsecsElapsed()) / kBatch;
}

// The median cost of the batches, so a busy machine's hiccups do not decide.
double median(std::vector<double> costs)
{
    std::nth_element(costs.begin(), costs.begin() + costs.size() / 2, costs.end());
    return costs[costs.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int reports = argc > 1 ? std::max(2 * kBatchesCompared * kBatch, std::atoi(argv[1]) / kBatch * kBatch) : 1'000'000;
    QTemporaryDir programDir;
    Platform::setProgramDirectory(programDir.path());
    CountingWindows windows;
    DownloadController::SetMainFrame(&windows);
    DownloadController::Instance().BindWindows();

    QElapsedTimer total;
    total.start();
    std::vector<double> costs;
    for (int first = 0; first < reports; first += kBatch)
        costs.push_back(nanosecondsPerReport(first));
    const double seconds = double(total.nsecsElapsed()) / 1e9;
    const auto compared = std::ptrdiff_t(kBatchesCompared);

    std::printf("engine reports handled:        %d over 8 cells\n", reports);
    std::printf("reports per second:            %.0f\n", reports / seconds);
    std::printf("cost per report, first %dk:   %.0f ns (median of %dk batches)\n", kBatchesCompared * kBatch / 1000,
                median({costs.begin(), costs.begin() + compared}), kBatch / 1000);
    std::printf("cost per report, last %dk:    %.0f ns\n", kBatchesCompared * kBatch / 1000,
                median({costs.end() - compared, costs.end()}));
    std::printf("window calls made:             %lld\n", windows.calls);

    DownloadController::ReleaseEngine();
    DownloadController::SetMainFrame(nullptr);
    return 0;
}
