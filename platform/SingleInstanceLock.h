#pragma once
#include <QString>

// The single-instance marker: the first process to take the name holds it until
// it ends (the kernel frees it even when the process dies); later ones are told
// that a copy is already running.
class SingleInstanceLock {
public:
    explicit SingleInstanceLock(const QString& name);
    ~SingleInstanceLock();

    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    bool isFirstInstance() const { return m_held; }

private:
    int m_fd = -1;
    bool m_held = false;
};
