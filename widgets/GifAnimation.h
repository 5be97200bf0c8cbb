#pragma once
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class GifComposer;

// The thread that plays an animated picture: it composes each frame, reports it,
// waits for the frame's delay or for the stop event, and applies the disposal.
// The thread shares the animation's state, so a thread that misses the stop
// deadline can be let go without leaving it anything freed.
class GifAnimation : public std::enable_shared_from_this<GifAnimation> {
public:
    using FrameShown = std::function<void(int index)>;

    static std::shared_ptr<GifAnimation> Start(std::shared_ptr<GifComposer> composer, FrameShown frameShown);

    // Sets the stop flag, signals the stop event and waits for the thread at most
    // the given time. After it returns the thread reports no more frames. True when
    // the thread has ended.
    bool Stop(int timeoutMs);

    // How long a frame with this delay (hundredths of a second) stays up.
    static int FrameIntervalMs(int delay);

    // Animation threads of the process that have not ended yet.
    static int RunningThreads();

    GifAnimation(std::shared_ptr<GifComposer> composer, FrameShown frameShown);

private:
    void Run();
    bool WaitForStop(int milliseconds);
    void ReportFrame(int index);

    const std::shared_ptr<GifComposer> m_composer;
    std::mutex m_mutex;
    std::condition_variable m_stopEvent;
    std::condition_variable m_finishedEvent;
    bool m_stop = false;
    bool m_finished = false;
    FrameShown m_frameShown;
    std::thread m_thread;

    static std::atomic<int> s_runningThreads;
};
