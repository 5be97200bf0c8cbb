#include "platform/SingleInstanceLock.h"

#include "platform/LockFile.h"

#include <sys/file.h>
#include <unistd.h>

SingleInstanceLock::SingleInstanceLock(const QString& name)
    : m_fd(Platform::openLockFile(name))
{
    // Without a lock file there is nothing to compare with; refusing to start
    // would stop the station for a reason the operator cannot see.
    m_held = m_fd < 0 || ::flock(m_fd, LOCK_EX | LOCK_NB) == 0;
}

SingleInstanceLock::~SingleInstanceLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}
