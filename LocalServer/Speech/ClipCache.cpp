#include "Speech/ClipCache.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

void ClipCache::touch(const QString& file, qint64 nowMs) {
    QFile clip(file);
    if (clip.open(QIODevice::ReadWrite))
        clip.setFileTime(QDateTime::fromMSecsSinceEpoch(nowMs), QFileDevice::FileModificationTime);
}

void ClipCache::trim(const QString& mediaDir, qint64 maxBytes) {
    QList<QFileInfo> clips;
    qint64 total = 0;
    // Clips sit directly in the users' folders; narrations are a level further down.
    for (const QFileInfo& user : QDir(mediaDir).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        for (const QFileInfo& file : QDir(user.filePath()).entryInfoList({"speak-*.wav"}, QDir::Files)) {
            clips.append(file);
            total += file.size();
        }
    }
    std::sort(clips.begin(), clips.end(),
              [](const QFileInfo& a, const QFileInfo& b) { return a.lastModified() < b.lastModified(); });
    for (const QFileInfo& clip : std::as_const(clips)) {
        if (total <= maxBytes)
            break;
        if (QFile::remove(clip.filePath()))
            total -= clip.size();
    }
}
