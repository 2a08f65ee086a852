#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "Media/NowPlayingSession.h"
#include "Media/SongPlayback.h"
#include "TaskScope.h"

#include <QtQml/qqmlregistration.h>

#include <chrono>
#include <functional>
#include <memory>

// Plays a finished study song: the audio is fetched through the app's own network stack (so with
// its TLS trust) on the first "Play song", then handed to the playback. The slider follows playback
// except while it is dragged; the end of the song leaves the player paused; the song shows on the
// desktop's media controls while it plays or is paused.
class RewardSongPlayer : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString source READ source WRITE setSource NOTIFY sourceChanged)
    Q_PROPERTY(QString title READ title WRITE setTitle NOTIFY titleChanged)
    Q_PROPERTY(bool isPlaying READ isPlaying NOTIFY playingChanged)
    Q_PROPERTY(bool isLoading READ isLoading NOTIFY loadingChanged)
    Q_PROPERTY(QString playLabel READ playLabel NOTIFY playingChanged)
    Q_PROPERTY(QString shortPlayLabel READ shortPlayLabel NOTIFY playingChanged)
    Q_PROPERTY(qint64 position READ position NOTIFY timeChanged)
    Q_PROPERTY(qint64 duration READ duration NOTIFY timeChanged)
    Q_PROPERTY(QString positionText READ positionText NOTIFY timeChanged)
    Q_PROPERTY(QString durationText READ durationText NOTIFY timeChanged)
    Q_PROPERTY(QString spokenPosition READ spokenPosition NOTIFY timeChanged)
    Q_PROPERTY(bool isDragging READ isDragging NOTIFY draggingChanged)
    Q_PROPERTY(QString errorMessage READ errorMessage NOTIFY errorChanged)
public:
    static constexpr std::chrono::milliseconds arrowStep{5'000};
    static inline const QString loadFailedText =
        QStringLiteral("Couldn't load this song. Check your connection and try again.");

    // Makes the playback when the first song arrives, so that a screen of songs holds no media
    // player until one is played.
    using PlaybackFactory = std::function<std::unique_ptr<SongPlayback>()>;

    // The platform media player and the session bus.
    explicit RewardSongPlayer(QObject* parent = nullptr);
    RewardSongPlayer(PlaybackFactory makePlayback, QDBusConnection bus, QObject* parent = nullptr);
    ~RewardSongPlayer() override;

    const QString& source() const { return source_; }
    void setSource(const QString& source);
    const QString& title() const { return title_; }
    void setTitle(const QString& title);
    bool isPlaying() const { return playing_; }
    bool isLoading() const { return fetch_ != 0; }
    QString playLabel() const {
        return playing_ ? QStringLiteral("Pause song") : QStringLiteral("Play song");
    }
    QString shortPlayLabel() const { return playing_ ? QStringLiteral("Pause") : QStringLiteral("Play"); }
    qint64 position() const { return position_; }
    qint64 duration() const { return duration_; }
    QString positionText() const { return timeText(position_); }
    QString durationText() const { return timeText(duration_); }
    // "0:42 of 3:05".
    QString spokenPosition() const { return positionText() + QStringLiteral(" of ") + durationText(); }
    bool isDragging() const { return dragging_; }
    const QString& errorMessage() const { return errorMessage_; }

    // "%d:%02d" of whole minutes and seconds.
    static QString timeText(qint64 milliseconds);

    Q_INVOKABLE void togglePlayback();
    Q_INVOKABLE void play();
    Q_INVOKABLE void pause();
    // The slider is grabbed: playback time no longer moves it until it is let go at `position`.
    Q_INVOKABLE void beginDrag();
    Q_INVOKABLE void dragTo(qint64 position);
    Q_INVOKABLE void endDrag(qint64 position);
    // Arrow keys: forward or back by `arrowStep`, within the song.
    Q_INVOKABLE void step(int direction);
    // After a failure: fetches again and plays.
    Q_INVOKABLE void retry();
    // The view goes: stops, lets go of the audio and leaves the desktop's media controls.
    Q_INVOKABLE void stop();

Q_SIGNALS:
    void sourceChanged();
    void titleChanged();
    void playingChanged();
    void loadingChanged();
    void timeChanged();
    void draggingChanged();
    void errorChanged();

private:
    SongPlayback& playback();
    void seek(qint64 position);
    void setPlaying(bool playing);
    void setPosition(qint64 position);
    // Drops the loaded track, shows the player paused and leaves the desktop's media controls.
    void unload();
    void fail();
    void publishNowPlaying();

    PlaybackFactory makePlayback_;
    std::unique_ptr<SongPlayback> playback_;
    NowPlayingSession nowPlaying_;
    QString source_;
    QString title_;
    bool loaded_ = false;
    bool playing_ = false;
    bool dragging_ = false;
    qint64 position_ = 0;
    qint64 duration_ = 0;
    QString errorMessage_;
    async::TaskScope::TaskId fetch_ = 0;
    async::TaskScope tasks_; // last: tasks end before what they use
};
