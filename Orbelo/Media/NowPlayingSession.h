#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

// What the desktop shows as playing, and its media keys: published over MPRIS2 as
// "org.mpris.MediaPlayer2.orbelo" while a player holds a session. Commands from the desktop
// arrive as the *Requested signals.
class NowPlayingSession : public QObject {
    Q_OBJECT
public:
    enum class Status { playing, paused, stopped };

    static inline const QString serviceName = QStringLiteral("org.mpris.MediaPlayer2.orbelo");
    static inline const QString objectPath = QStringLiteral("/org/mpris/MediaPlayer2");

    explicit NowPlayingSession(QDBusConnection bus = QDBusConnection::sessionBus(),
                               QObject* parent = nullptr);
    ~NowPlayingSession() override;

    // Shows `title` with `detail` under it; takes the bus name on first use.
    void publish(const QString& title, const QString& detail, Status status);
    // Gives the name back; the desktop stops showing the player.
    void withdraw();
    bool isPublished() const { return published_; }
    const QDBusConnection& bus() const { return bus_; }

    const QString& title() const { return title_; }
    const QString& detail() const { return detail_; }
    Status status() const { return status_; }
    // Bumped with every change of what plays, for the track id.
    int track() const { return track_; }

Q_SIGNALS:
    void playRequested();
    void pauseRequested();
    void playPauseRequested();
    void nextRequested();
    void previousRequested();
    void stopRequested();
    // The published status or metadata changed.
    void statusChanged();
    void metadataChanged();

private:
    QDBusConnection bus_;
    bool published_ = false;
    QString title_;
    QString detail_;
    Status status_ = Status::stopped;
    int track_ = 0;
};
