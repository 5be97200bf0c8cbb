#include "platform/Clock.h"

#include "platform/SystemClock.h"

#include <atomic>

namespace {

SystemClock systemClock;
std::atomic<Clock*> installedClock{nullptr};

} // namespace

Clock& Clock::instance()
{
    Clock* clock = installedClock.load(std::memory_order_acquire);
    return clock ? *clock : systemClock;
}

void Clock::setInstance(Clock* clock)
{
    installedClock.store(clock, std::memory_order_release);
}
