#include "widgets/GifAnimation.h"

#include "widgets/GifComposer.h"

#include <chrono>

std::atomic<int> GifAnimation::s_runningThreads{0};

GifAnimation::GifAnimation(std::shared_ptr<GifComposer> composer, FrameShown frameShown)
    : m_composer(std::move(composer))
    , m_frameShown(std::move(frameShown))
{
}

std::shared_ptr<GifAnimation> GifAnimation::Start(std::shared_ptr<GifComposer> composer, FrameShown frameShown)
{
    auto animation = std::make_shared<GifAnimation>(std::move(composer), std::move(frameShown));
    ++s_runningThreads;
    animation->m_thread = std::thread([self = animation] { self->Run(); });
    return animation;
}

bool GifAnimation::Stop(int timeoutMs)
{
    std::unique_lock lock(m_mutex);
    m_stop = true;
    m_frameShown = nullptr;
    m_stopEvent.notify_all();
    const bool finished = m_finishedEvent.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return m_finished; });
    lock.unlock();
    if (m_thread.joinable()) {
        if (finished)
            m_thread.join();
        else
            m_thread.detach();
    }
    return finished;
}

int GifAnimation::FrameIntervalMs(int delay)
{
    return delay > 4 ? delay * 10 : 100;
}

int GifAnimation::RunningThreads()
{
    return s_runningThreads;
}

void GifAnimation::Run()
{
    int index = 0;
    while (true) {
        m_composer->DrawFrame(index);
        ReportFrame(index);
        if (WaitForStop(FrameIntervalMs(m_composer->Frame(index).delay)))
            break;
        m_composer->DisposeFrame(index);
        if (++index == m_composer->FrameCount()) {
            index = 0;
            m_composer->Rewind();
        }
    }
    --s_runningThreads;
    std::lock_guard lock(m_mutex);
    m_finished = true;
    m_finishedEvent.notify_all();
}

bool GifAnimation::WaitForStop(int milliseconds)
{
    std::unique_lock lock(m_mutex);
    return m_stopEvent.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return m_stop; });
}

void GifAnimation::ReportFrame(int index)
{
    std::lock_guard lock(m_mutex);
    if (m_frameShown)
        m_frameShown(index);
}
