#include "Storage/StartupLock.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

StartupLock::~StartupLock() {
    if (fd_ >= 0)
        ::close(fd_); // releases the lock
}

bool StartupLock::acquire(const QString& path) {
    fd_ = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0)
        return false;
    int locked;
    do
        locked = ::flock(fd_, LOCK_EX);
    while (locked != 0 && errno == EINTR);
    return locked == 0;
}
