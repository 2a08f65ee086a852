#include "Storage/PrivateFile.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace PrivateFile {

bool restrictDirectory(const QString& path) {
    return ::chmod(QFile::encodeName(path).constData(), 0700) == 0;
}

bool restrictFile(const QString& path) {
    return ::chmod(QFile::encodeName(path).constData(), 0600) == 0;
}

bool restrictTree(const QString& path) {
    if (!restrictDirectory(path))
        return false;
    bool restricted = true;
    QDirIterator it(path,
                    QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot | QDir::NoSymLinks,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString entry = it.next();
        const QFileInfo info = it.fileInfo();
        if (info.isDir())
            restricted = restrictDirectory(entry) && restricted;
        else if (info.isFile())
            restricted = restrictFile(entry) && restricted;
    }
    return restricted;
}

bool createFile(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    const bool restricted = ::fchmod(fd, 0600) == 0;
    return ::close(fd) == 0 && restricted;
}

std::optional<QByteArray> read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll().trimmed();
}

bool write(const QString& path, const QByteArray& contents) {
    const QByteArray partial = QFile::encodeName(path + ".partial");
    ::unlink(partial.constData());
    // Created with 0600 (O_EXCL: never through a file someone else placed there), then fchmod
    // in case the umask took owner bits away.
    const int fd = ::open(partial.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    bool ok = ::fchmod(fd, 0600) == 0 &&
              ::write(fd, contents.constData(), size_t(contents.size())) == ssize_t(contents.size());
    ok = ::fsync(fd) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(partial.constData(), QFile::encodeName(path).constData()) == 0;
    if (!ok)
        ::unlink(partial.constData());
    return ok;
}

} // namespace PrivateFile
