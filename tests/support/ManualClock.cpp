#include "tests/support/ManualClock.h"

#include <QMutexLocker>

ManualClock::ManualClock(const QDateTime& start)
    : m_now(start)
{
    Clock::setInstance(this);
}

ManualClock::~ManualClock()
{
    Clock::setInstance(nullptr);
}

QDateTime ManualClock::now() const
{
    QMutexLocker locker(&m_mutex);
    return m_now;
}

void ManualClock::sleep(int milliseconds)
{
    QMutexLocker locker(&m_mutex);
    m_now = m_now.addMSecs(milliseconds);
    m_slept += milliseconds;
}

void ManualClock::setNow(const QDateTime& time)
{
    QMutexLocker locker(&m_mutex);
    m_now = time;
}

int ManualClock::sleptMilliseconds() const
{
    QMutexLocker locker(&m_mutex);
    return m_slept;
}
