#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Files and directories that only the server's own user may open, whatever the umask: the data
// dir and its directories 0700, the database, secrets, uploads and audio 0600.
namespace PrivateFile {
// Sets 0700 on a directory; false when it does not exist or the mode cannot be set.
bool restrictDirectory(const QString& path);
// Sets 0600 on a file; false when it does not exist or the mode cannot be set.
bool restrictFile(const QString& path);
// Sets 0700 on the directory and every directory under it and 0600 on every file under it, so
// that a start tightens what an older version or a careless copy left looser. Symbolic links are
// not followed. False when the directory does not exist or a mode cannot be set.
bool restrictTree(const QString& path);
// Creates `path` empty when it does not exist; either way leaves it 0600.
bool createFile(const QString& path);
// The contents of `path` without surrounding whitespace; nothing when it cannot be read.
std::optional<QByteArray> read(const QString& path);
// Replaces `path` with `contents` atomically; the file is 0600 from its creation on.
bool write(const QString& path, const QByteArray& contents);
} // namespace PrivateFile
