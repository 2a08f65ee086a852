#include "Media/MediaSongPlayback.h"

MediaSongPlayback::MediaSongPlayback(QObject* parent) : SongPlayback(parent) {
    player_.setAudioOutput(&output_);
    connect(&player_, &QMediaPlayer::positionChanged, this, &SongPlayback::positionChanged);
    connect(&player_, &QMediaPlayer::durationChanged, this, &SongPlayback::durationChanged);
    connect(&player_, &QMediaPlayer::mediaStatusChanged, this, [this](QMediaPlayer::MediaStatus status) {
        if (status == QMediaPlayer::EndOfMedia)
            Q_EMIT ended();
        else if (status == QMediaPlayer::InvalidMedia)
            Q_EMIT failed(player_.errorString());
    });
    connect(&player_, &QMediaPlayer::errorOccurred, this,
            [this](QMediaPlayer::Error, const QString& reason) { Q_EMIT failed(reason); });
}

MediaSongPlayback::~MediaSongPlayback() {
    // The player reads the file until its source is gone.
    player_.disconnect(this);
    clear();
}

void MediaSongPlayback::load(const QByteArray& audio) {
    clear();
    file_ = std::make_unique<QTemporaryFile>();
    if (!file_->open() || file_->write(audio) != audio.size() || !file_->flush()) {
        Q_EMIT failed(file_->errorString());
        file_.reset();
        return;
    }
    player_.setSource(QUrl::fromLocalFile(file_->fileName()));
}

void MediaSongPlayback::play() {
    player_.play();
}

void MediaSongPlayback::pause() {
    player_.pause();
}

void MediaSongPlayback::seek(qint64 position) {
    player_.setPosition(position);
}

void MediaSongPlayback::clear() {
    player_.stop();
    player_.setSource(QUrl());
    file_.reset();
}
