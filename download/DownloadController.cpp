#include "download/DownloadController.h"

#include "config/XMLConfig.h"
#include "download/EngineBinding.h"
#include "download/LineColour.h"
#include "download/PackageHeader.h"
#include "download/ProcessGlobals.h"
#include "download/relays/ICellGrid.h"
#include "download/relays/ICellPages.h"
#include "download/relays/ICommonSettingsPage.h"
#include "download/relays/IConfigDialog.h"
#include "download/relays/IMainFrame.h"
#include "download/relays/IMainFrameCommands.h"
#include "download/relays/IProgressWindow.h"
#include "download/relays/IPromptList.h"
#include "download/relays/ISettingsView.h"
#include "platform/Clock.h"
#include "platform/NamedLockGuard.h"

#include <QMetaObject>

#include <algorithm>
#include <memory>

namespace {

std::unique_ptr<DownloadController> controller;
IMainFrame* mainFrame = nullptr;

constexpr int kEnterAndLeaveDelayMilliseconds = 1000;

bool isCell(int cell)
{
    return cell >= 0 && cell < DownloadController::kCellCount;
}

struct ElapsedTime {
    int minutes;
    int seconds;
};

// Only the clock faces are compared, so a download that runs past midnight still
// counts from its start.
ElapsedTime elapsedBetween(const QTime& start, const QTime& finish)
{
    int hours = finish.hour() - start.hour();
    if (finish.hour() < start.hour())
        hours += 24;
    ElapsedTime elapsed{hours * 60 + finish.minute() - start.minute(), finish.second() - start.second()};
    if (elapsed.seconds < 0) {
        elapsed.seconds += 60;
        --elapsed.minutes;
    }
    return elapsed;
}

QString timeStampLine(const char* key, const QDateTime& time)
{
    const QDate date = time.date();
    const QTime clock = time.time();
    return QString::asprintf("%s=%04d-%02d-%02d %02d:%02d:%02d", key, date.year(), date.month(), date.day(),
                             clock.hour(), clock.minute(), clock.second());
}

} // namespace

DownloadController& DownloadController::Instance()
{
    if (!controller)
        controller.reset(new DownloadController);
    return *controller;
}

DownloadController* DownloadController::Existing()
{
    return controller.get();
}

void DownloadController::ReleaseEngine()
{
    if (!controller)
        return;
    EngineBinding::instance().ReleaseEngine();
    controller.reset();
}

void DownloadController::SetMainFrame(IMainFrame* frame)
{
    mainFrame = frame;
    if (controller)
        controller->forgetWindows();
}

DownloadController::DownloadController()
    : m_userInterfaceThread(std::this_thread::get_id())
    , m_handler(*this)
    , m_mutex(QStringLiteral("Mutex"))
{
    m_linkState.fill(1);
}

DownloadController::~DownloadController() = default;

bool DownloadController::BindWindows()
{
    if (!mainFrame)
        return false;
    m_windows.commands = mainFrame->commands();
    m_windows.promptList = mainFrame->promptList();
    m_windows.cellPages = mainFrame->cellPages();
    m_windows.cellGrid = mainFrame->cellGrid();
    m_windows.progressWindow = mainFrame->progressWindow();
    m_windows.settingsView = mainFrame->settingsView();
    m_windows.commonSettingsPage = mainFrame->commonSettingsPage();
    EngineBinding::instance().setReceiver(&m_handler);
    return true;
}

void DownloadController::forgetWindows()
{
    m_windows = Windows();
    EngineBinding::instance().clearReceiver(&m_handler);
}

template <typename Window>
Window* DownloadController::bound(Window* Windows::*pane)
{
    if (!(m_windows.*pane))
        BindWindows();
    return m_windows.*pane;
}

IConfigDialog* DownloadController::configDialog() const
{
    return mainFrame ? mainFrame->configDialogIfOpen() : nullptr;
}

bool DownloadController::isUserInterfaceThread() const
{
    return std::this_thread::get_id() == m_userInterfaceThread;
}

// Work from a worker is queued to the user-interface thread, in order, and the
// worker goes on at once: it must never wait for a thread that may be waiting for
// it or holding "Mutex".
template <typename Work>
void DownloadController::onUserInterfaceThread(Work&& work)
{
    if (isUserInterfaceThread())
        work();
    else
        QMetaObject::invokeMethod(&m_handler, std::forward<Work>(work), Qt::QueuedConnection);
}

int DownloadController::StartSession(int mode)
{
    const int32_t role = g_nUserRole;
    if (role < 1 || role > 4)
        return 0;
    m_role = role;
    if (role == 1 || role == 2)
        m_oneShot = false;

    readSessionPaths();
    if (m_packagePath.isEmpty() || !ReadPackageModel(m_packagePath, m_modelName)) {
        LogMessage(QStringLiteral("Could not find the VKB file path in UserConfig.xml!"), 2);
        return 0;
    }
    m_mode = mode;
    m_linkState.fill(1);
    SetCommandsEnabled(false);
    m_verified = false;
    BindWindows();

    EngineBinding& engine = EngineBinding::instance();
    if (!engine.BindEngine({m_packagePath, m_imagePath, m_role, m_options})) {
        LogMessage(engine.lastError(), 2);
        return 0;
    }
    if (IsCommandLineMode()) {
        StartDownloadWorker();
        SetCommandsEnabled(true);
        return 1;
    }
    engine.InitDownloadObj();
    StartVerificationWorker();
    return 1;
}

// Empty or missing values keep the previous paths; the accessor's error texts are
// not shown.
void DownloadController::readSessionPaths()
{
    m_utilities.GetModuleDirectory(m_programDirectory);
    CXMLConfig config;
    QString error;
    if (config.LoadFile(m_programDirectory + QStringLiteral("UserConfig/UserConfig.xml"), error)) {
        QString value;
        if (config.GetItemValue(QStringLiteral("VKB_PATH"), value, error) && !value.isEmpty())
            m_packagePath = value;
        value.clear();
        if (config.GetItemValue(QStringLiteral("GPS_PATH"), value, error) && !value.isEmpty())
            m_imagePath = value;
    }
    config.CloseFile();
}

void DownloadController::StartVerificationWorker()
{
    EngineBinding::instance().startWorker([] {
        EngineBinding& engine = EngineBinding::instance();
        if (engine.enterUnlessReleasing(nullptr))
            engine.VerifyDataofVKB();
    });
}

void DownloadController::StartDownloadWorker()
{
    EngineBinding::instance().startWorker([this] {
        Clock::instance().sleep(kEnterAndLeaveDelayMilliseconds);
        EnterDownloadMode();
    });
}

// Runs on the download worker. Once the worker is admitted it touches nothing of
// the controller: the controller may be gone by the time the engine returns.
void DownloadController::EnterDownloadMode()
{
    EngineBinding& engine = EngineBinding::instance();
    const bool commandLine = IsCommandLineMode();
    const bool admitted = engine.enterUnlessReleasing([this, commandLine] {
        if (!m_verified && !commandLine)
            return false;
        onUserInterfaceThread([this] {
            LogMessage(QStringLiteral("Entering download mode..."), 0);
            SetFrameCommands(false);
            m_progress.fill(0);
        });
        return true;
    });
    if (!admitted)
        return;
    if (commandLine)
        engine.DownloadCommandline();
    else
        engine.DownloadRun();
}

void DownloadController::OnStartPressed()
{
    m_runState.fill(0);
    if (m_verified)
        StartDownloadWorker();
    else
        StartSession(1);
}

void DownloadController::OnStopPressed()
{
    SetFrameCommands(true);
    EngineBinding& engine = EngineBinding::instance();
    if (!engine.isLoaded())
        return;
    LogMessage(QStringLiteral("Exit download mode..."), 0);
    Clock::instance().sleep(kEnterAndLeaveDelayMilliseconds);
    engine.DownloadStop();
}

void DownloadController::SetOptions(const DownloadOptions& options)
{
    m_options = options;
}

void DownloadController::LogMessage(const QString& text, int level)
{
    if (!isUserInterfaceThread()) {
        onUserInterfaceThread([this, text, level] { LogMessage(text, level); });
        return;
    }
    NamedLockGuard guard(m_mutex);
    if (IPromptList* list = bound(&Windows::promptList))
        list->AddMessage(text, level);
}

void DownloadController::WriteCellRecords(int cell, bool passed)
{
    if (!isCell(cell))
        return;
    NamedLockGuard guard(m_mutex);
    if (ICellPages* pages = bound(&Windows::cellPages))
        pages->WriteRecords(cell, m_modelName, passed);
}

void DownloadController::ClearCell(int cell)
{
    if (!isCell(cell))
        return;
    NamedLockGuard guard(m_mutex);
    if (ICellPages* pages = bound(&Windows::cellPages))
        pages->ClearCellPage(cell);
}

void DownloadController::ShowCellPage(int cell)
{
    if (!isCell(cell))
        return;
    if (ICellPages* pages = bound(&Windows::cellPages))
        pages->ShowPage(cell);
    if (ISettingsView* view = bound(&Windows::settingsView))
        view->SelectPage(1);
}

void DownloadController::AddRecentPackage(const QString& text, int kind)
{
    if (IMainFrameCommands* frame = bound(&Windows::commands))
        frame->AddRecentPackage(text, kind);
}

void DownloadController::SetCommonInfo(const QString& text2, const QString& text3)
{
    if (ICommonSettingsPage* page = bound(&Windows::commonSettingsPage)) {
        page->SetRowValue(2, text2);
        page->SetRowValue(3, text3);
    }
}

void DownloadController::EnableConfigOk(bool enabled)
{
    if (IConfigDialog* dialog = configDialog())
        dialog->EnableConfigOk(enabled);
}

void DownloadController::SetConfigEnabled(bool enabled)
{
    if (IConfigDialog* dialog = configDialog())
        dialog->SetConfigEnabled(enabled);
}

void DownloadController::CloseConfig()
{
    if (IConfigDialog* dialog = configDialog())
        dialog->CloseConfig();
}

void DownloadController::ConfigMessage(const QString& text, int level)
{
    if (IConfigDialog* dialog = configDialog())
        dialog->ConfigMessage(text, level);
}

void DownloadController::SetCommandsEnabled(bool enabled)
{
    if (IMainFrameCommands* frame = bound(&Windows::commands))
        frame->SetCommandsEnabled(enabled);
}

void DownloadController::SetFrameCommands(bool enabled)
{
    if (IMainFrameCommands* frame = bound(&Windows::commands))
        frame->SetFrameCommands(enabled);
}

void DownloadController::SetStopEnabled(bool enabled)
{
    if (IMainFrameCommands* frame = bound(&Windows::commands))
        frame->SetStopEnabled(enabled);
}

void DownloadController::PressStop()
{
    if (IMainFrameCommands* frame = bound(&Windows::commands))
        frame->PressStop();
}

void DownloadController::CellMessage(int cell, const QString& text, int colourType)
{
    if (!isCell(cell))
        return;
    if (ICellPages* pages = bound(&Windows::cellPages))
        pages->AppendCellMessage(cell, text, lineColourRgb(colourType));
}

void DownloadController::SetCellRunState(int cell, int state)
{
    if (!isCell(cell))
        return;
    if (ICellGrid* grid = bound(&Windows::cellGrid))
        grid->ShowCellStatus(cell, state);
    if (IProgressWindow* progress = bound(&Windows::progressWindow))
        progress->ShowCellState(cell, state);
    m_runState[cell] = state;
    const bool anyRunning = std::find(m_runState.begin(), m_runState.end(), 1) != m_runState.end();
    SetStopEnabled(!anyRunning);
    CellTiming(cell, state);
}

void DownloadController::UpdateCellProgress(int cell, int percent, int state, int force)
{
    if (!isCell(cell))
        return;
    m_progress[cell] = percent;
    if (IProgressWindow* progress = bound(&Windows::progressWindow))
        progress->ShowCellProgress(cell, percent, state, force);
}

int DownloadController::CellProgress(int cell) const
{
    return isCell(cell) ? m_progress[cell] : 0;
}

void DownloadController::SetCellLink(int cell, int link)
{
    if (!isCell(cell) || m_linkState[cell] == link)
        return;
    m_linkState[cell] = link;
    const QString detects = QStringLiteral("CELL%1 detects device ").arg(cell);
    if (link == 0) {
        if (ICellGrid* grid = bound(&Windows::cellGrid))
            grid->ShowCellStatus(cell, 1);
        LogMessage(detects + QStringLiteral("connected..."), 0);
    } else if (link == 1) {
        if (ICellGrid* grid = bound(&Windows::cellGrid))
            grid->ShowCellStatus(cell, 0);
        LogMessage(detects + QStringLiteral("disconnected..."), 0);
    }
}

void DownloadController::CellTiming(int cell, int state)
{
    if (!isCell(cell))
        return;
    const QDateTime now = Clock::instance().now();
    if (state == 1) {
        m_startTime[cell] = now;
        return;
    }
    if (state != 2 && state != 3)
        return;
    // A cell that finishes without having been seen to start took no time.
    const QDateTime start = m_startTime[cell].isValid() ? m_startTime[cell] : now;
    const ElapsedTime elapsed = elapsedBetween(start.time(), now.time());
    CellMessage(cell, timeStampLine("StartTime", start), LineRecord);
    CellMessage(cell, timeStampLine("FinishTime", now), LineRecord);
    CellMessage(cell, QString::asprintf("SpendTime=%d", (elapsed.minutes * 60 + elapsed.seconds) * 1000), LineRecord);
    CellMessage(cell, QString::asprintf("Total download time elapsed: %d min : %d sec", elapsed.minutes, elapsed.seconds),
                LineProgress);
}

void DownloadController::VerificationReported(int status, int kind, const QString& text)
{
    const int level = kind == 2 ? 1 : kind == 3 ? 2 : 0;
    if (kind == 3) {
        SetCommandsEnabled(true);
        SetFrameCommands(false);
        SetConfigEnabled(true);
        PressStop();
    }
    const QString shown = kind == 2 ? QStringLiteral("Verify data file Ok!") : text;
    LogMessage(shown, level);
    ConfigMessage(shown, level);
    if (kind != 2 || status != 0 || IsCommandLineMode())
        return;
    if (ICommonSettingsPage* page = bound(&Windows::commonSettingsPage))
        page->SetRowValue(1, text);
    SetConfigEnabled(true);
    m_verified = true;
    SetCommandsEnabled(true);
    CloseConfig();
    if (Mode() != 0) {
        SetStopEnabled(true);
        StartDownloadWorker();
    }
}

int DownloadController::cellRunState(int cell) const
{
    return isCell(cell) ? m_runState[cell] : 0;
}

int DownloadController::cellLinkState(int cell) const
{
    return isCell(cell) ? m_linkState[cell] : 1;
}
