#pragma once

#include "SongPlayback.h"

#include <QAudioOutput>
#include <QBuffer>
#include <QMediaPlayer>

#include <memory>

// SongPlayback on the platform media player, reading the audio from memory.
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
    std::unique_ptr<QBuffer> buffer_;
};
