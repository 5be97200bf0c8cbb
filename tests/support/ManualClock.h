#pragma once
#include "platform/Clock.h"

#include <QMutex>

// A clock the test sets by hand. Sleeping returns at once and moves the time on,
// so the program's waits cost nothing; installed for the life of the object.
class ManualClock final : public Clock {
public:
    explicit ManualClock(const QDateTime& start);
    ~ManualClock() override;

    QDateTime now() const override;
    void sleep(int milliseconds) override;

    void setNow(const QDateTime& time);
    int sleptMilliseconds() const;

private:
    mutable QMutex m_mutex;
    QDateTime m_now;
    int m_slept = 0;
};
