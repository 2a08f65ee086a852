#pragma once

#include <QString>

// An exclusive lock on a file in the data dir, held while a process prepares what every process of
// a service shares there (the TLS identity, the token secret, the admin token), so that processes
// starting together do not each make their own and overwrite one another's. The lock (flock) is
// released when the object goes or the process dies.
class StartupLock {
public:
    StartupLock() = default;
    ~StartupLock();
    StartupLock(const StartupLock&) = delete;
    StartupLock& operator=(const StartupLock&) = delete;

    // Waits for the lock on `path`, creating the file (0600) when needed; false when it cannot.
    bool acquire(const QString& path);

private:
    int fd_ = -1;
};
