#include "Rewards/RewardSongPlayer.h"

#include "Logging.h"
#include "Media/AudioDownload.h"
#include "Media/MediaSongPlayback.h"

RewardSongPlayer::RewardSongPlayer(QObject* parent)
    : RewardSongPlayer([] { return std::make_unique<MediaSongPlayback>(); }, QDBusConnection::sessionBus(),
                       parent) {}

RewardSongPlayer::RewardSongPlayer(PlaybackFactory makePlayback, QDBusConnection bus, QObject* parent)
    : QObject(parent), makePlayback_(std::move(makePlayback)), nowPlaying_(bus) {
    connect(&nowPlaying_, &NowPlayingSession::playRequested, this, &RewardSongPlayer::play);
    connect(&nowPlaying_, &NowPlayingSession::pauseRequested, this, &RewardSongPlayer::pause);
    connect(&nowPlaying_, &NowPlayingSession::playPauseRequested, this, &RewardSongPlayer::togglePlayback);
    connect(&nowPlaying_, &NowPlayingSession::stopRequested, this, &RewardSongPlayer::pause);
}

RewardSongPlayer::~RewardSongPlayer() {
    // The playback's signals would reach a half-destroyed player.
    if (playback_)
        playback_->disconnect(this);
    stop();
}

SongPlayback& RewardSongPlayer::playback() {
    if (playback_)
        return *playback_;
    playback_ = makePlayback_();
    connect(playback_.get(), &SongPlayback::positionChanged, this, [this](qint64 position) {
        if (!dragging_)
            setPosition(position);
    });
    connect(playback_.get(), &SongPlayback::durationChanged, this, [this](qint64 duration) {
        duration_ = duration;
        Q_EMIT timeChanged();
    });
    connect(playback_.get(), &SongPlayback::ended, this, [this] { setPlaying(false); });
    connect(playback_.get(), &SongPlayback::failed, this, [this](const QString& reason) {
        qCWarning(lcRewards) << "song playback failed:" << reason;
        fail();
    });
    return *playback_;
}

void RewardSongPlayer::setSource(const QString& source) {
    if (source == source_)
        return;
    stop();
    // Another song starts from its beginning, with no length until it is loaded.
    duration_ = 0;
    setPosition(0);
    Q_EMIT timeChanged();
    source_ = source;
    Q_EMIT sourceChanged();
}

void RewardSongPlayer::setTitle(const QString& title) {
    if (title == title_)
        return;
    title_ = title;
    Q_EMIT titleChanged();
    if (nowPlaying_.isPublished())
        publishNowPlaying();
}

QString RewardSongPlayer::timeText(qint64 milliseconds) {
    const qint64 seconds = std::max<qint64>(0, milliseconds) / 1000;
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

void RewardSongPlayer::togglePlayback() {
    if (playing_)
        pause();
    else
        play();
}

void RewardSongPlayer::play() {
    if (playing_ || fetch_ || source_.isEmpty())
        return;
    if (!errorMessage_.isEmpty()) {
        errorMessage_.clear();
        Q_EMIT errorChanged();
    }
    if (loaded_) {
        playback().play();
        setPlaying(true);
        return;
    }
    fetch_ = tasks_.spawn(
        AudioDownload::fetch(QUrl(source_)),
        [this](QByteArray audio) {
            fetch_ = 0;
            Q_EMIT loadingChanged();
            loaded_ = true;
            playback().load(audio);
            if (!loaded_) // the playback refused it and said so
                return;
            if (position_ > 0)
                playback().seek(position_);
            playback().play();
            setPlaying(true);
        },
        [this](std::exception_ptr error) {
            fetch_ = 0;
            Q_EMIT loadingChanged();
            try {
                std::rethrow_exception(error);
            } catch (const std::exception& e) {
                qCWarning(lcRewards) << "song download failed:" << e.what();
            }
            fail();
        });
    Q_EMIT loadingChanged();
}

void RewardSongPlayer::pause() {
    if (!playing_)
        return;
    playback().pause();
    setPlaying(false);
}

void RewardSongPlayer::beginDrag() {
    if (dragging_)
        return;
    dragging_ = true;
    Q_EMIT draggingChanged();
}

void RewardSongPlayer::dragTo(qint64 position) {
    setPosition(std::clamp<qint64>(position, 0, duration_));
}

void RewardSongPlayer::endDrag(qint64 position) {
    dragging_ = false;
    Q_EMIT draggingChanged();
    seek(position);
}

void RewardSongPlayer::step(int direction) {
    seek(position_ + (direction < 0 ? -1 : 1) * arrowStep.count());
}

void RewardSongPlayer::seek(qint64 position) {
    setPosition(std::clamp<qint64>(position, 0, duration_));
    if (loaded_)
        playback().seek(position_);
}

void RewardSongPlayer::retry() {
    stop();
    play();
}

void RewardSongPlayer::stop() {
    tasks_.cancel(fetch_);
    if (fetch_) {
        fetch_ = 0;
        Q_EMIT loadingChanged();
    }
    unload();
}

void RewardSongPlayer::unload() {
    if (loaded_)
        playback().clear();
    loaded_ = false;
    setPlaying(false);
    if (nowPlaying_.isPublished())
        nowPlaying_.withdraw();
}

void RewardSongPlayer::setPlaying(bool playing) {
    if (playing == playing_)
        return;
    playing_ = playing;
    Q_EMIT playingChanged();
    if (loaded_)
        publishNowPlaying();
}

void RewardSongPlayer::setPosition(qint64 position) {
    if (position == position_)
        return;
    position_ = position;
    Q_EMIT timeChanged();
}

void RewardSongPlayer::fail() {
    unload();
    errorMessage_ = loadFailedText;
    Q_EMIT errorChanged();
}

void RewardSongPlayer::publishNowPlaying() {
    nowPlaying_.publish(title_, QStringLiteral("Study song"),
                        playing_ ? NowPlayingSession::Status::playing : NowPlayingSession::Status::paused);
}
