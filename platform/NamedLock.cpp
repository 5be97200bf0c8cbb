#include "platform/NamedLock.h"

#include "platform/LockFile.h"

#include <QDebug>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QRecursiveMutex>

#include <cerrno>
#include <sys/file.h>

// flock excludes other processes only; threads of this process share the
// descriptor, so a recursive mutex orders them and the file lock is taken by the
// first level of the holding thread.
struct NamedLock::State {
    QRecursiveMutex threadLock;
    int fd = -1;
    int depth = 0;
};

namespace {

bool flockRetrying(int fd, int operation)
{
    while (::flock(fd, operation) != 0) {
        if (errno != EINTR)
            return false;
    }
    return true;
}

} // namespace

NamedLock::State* NamedLock::stateFor(const QString& name)
{
    // Never destroyed: a detached worker may still take a lock while the process exits.
    static QMutex registryMutex;
    static auto* registry = new QHash<QString, State*>;
    QMutexLocker locker(&registryMutex);
    State*& state = (*registry)[name];
    if (!state) {
        state = new State;
        state->fd = Platform::openLockFile(name);
        if (state->fd < 0)
            qWarning() << "named lock" << name << "works inside this process only: its lock file cannot be opened";
    }
    return state;
}

NamedLock::NamedLock(const QString& name)
    : m_state(stateFor(name))
{
}

void NamedLock::lock()
{
    m_state->threadLock.lock();
    if (m_state->depth++ == 0 && m_state->fd >= 0)
        flockRetrying(m_state->fd, LOCK_EX);
}

bool NamedLock::tryLock()
{
    if (!m_state->threadLock.tryLock())
        return false;
    if (m_state->depth == 0 && m_state->fd >= 0 && !flockRetrying(m_state->fd, LOCK_EX | LOCK_NB)) {
        m_state->threadLock.unlock();
        return false;
    }
    ++m_state->depth;
    return true;
}

void NamedLock::unlock()
{
    if (--m_state->depth == 0 && m_state->fd >= 0)
        flockRetrying(m_state->fd, LOCK_UN);
    m_state->threadLock.unlock();
}
