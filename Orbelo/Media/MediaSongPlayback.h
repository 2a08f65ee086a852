#pragma once

#include "Media/SongPlayback.h"

#include <QAudioOutput>
#include <QMediaPlayer>
#include <QTemporaryFile>

#include <memory>

// SongPlayback on the platform media player. The audio goes to a private temporary file first:
// Qt 6.4's GStreamer backend does not play from a QIODevice.
class MediaSongPlayback final : public SongPlayback {
    Q_OBJECT
public:
    explicit MediaSongPlayback(QObject* parent = nullptr);
    ~MediaSongPlayback() override;

    void load(const QByteArray& audio) override;
    void play() override;
    void pause() override;
    void seek(qint64 position) override;
    void clear() override;

private:
    QAudioOutput output_;
    QMediaPlayer player_;
    std::unique_ptr<QTemporaryFile> file_;
};
