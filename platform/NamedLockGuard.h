#pragma once
#include "platform/NamedLock.h"

// Holds a NamedLock for a scope, so every path out of the scope releases it.
class NamedLockGuard {
public:
    explicit NamedLockGuard(NamedLock& lock) : m_lock(lock) { m_lock.lock(); }
    ~NamedLockGuard() { m_lock.unlock(); }

    NamedLockGuard(const NamedLockGuard&) = delete;
    NamedLockGuard& operator=(const NamedLockGuard&) = delete;

private:
    NamedLock& m_lock;
};
