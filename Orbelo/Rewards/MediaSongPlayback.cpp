#include "MediaSongPlayback.h"

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
    // The player reads the buffer until its source is gone.
    player_.disconnect(this);
    clear();
}

void MediaSongPlayback::load(const QByteArray& audio) {
    clear();
    buffer_ = std::make_unique<QBuffer>();
    buffer_->setData(audio);
    buffer_->open(QIODevice::ReadOnly);
    player_.setSourceDevice(buffer_.get());
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
    player_.setSourceDevice(nullptr);
    buffer_.reset();
}
