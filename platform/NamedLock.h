#pragma once
#include <QString>

// A lock shared by every process of the machine that uses the same name, as a
// Windows named mutex is. The thread that holds it may take it again (each lock
// needs its unlock); other threads and processes wait.
class NamedLock {
public:
    explicit NamedLock(const QString& name);

    void lock();
    bool tryLock();
    void unlock();

private:
    struct State;
    static State* stateFor(const QString& name);

    State* m_state; // one per name for the whole process, never freed
};
