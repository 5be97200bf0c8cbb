#pragma once
#include <QDateTime>

// Local time and waiting go through one clock, so tests can set the time of day
// and make the program's one-second waits cost nothing.
class Clock {
public:
    virtual ~Clock() = default;

    virtual QDateTime now() const = 0;
    virtual void sleep(int milliseconds) = 0;

    // The clock in use: the system clock unless a test installed its own.
    static Clock& instance();
    // Installs a clock (not owned); nullptr restores the system clock.
    static void setInstance(Clock* clock);
};
