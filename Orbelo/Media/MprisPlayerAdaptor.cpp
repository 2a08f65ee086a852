#include "Media/MprisPlayerAdaptor.h"

#include "Media/NowPlayingSession.h"

#include <QDBusMessage>

MprisPlayerAdaptor::MprisPlayerAdaptor(NowPlayingSession* session)
    : QDBusAbstractAdaptor(session), session_(session) {
    connect(session, &NowPlayingSession::statusChanged, this,
            [this] { announce(QStringLiteral("PlaybackStatus"), playbackStatus()); });
    connect(session, &NowPlayingSession::metadataChanged, this,
            [this] { announce(QStringLiteral("Metadata"), metadata()); });
}

QString MprisPlayerAdaptor::playbackStatus() const {
    switch (session_->status()) {
    case NowPlayingSession::Status::playing:
        return QStringLiteral("Playing");
    case NowPlayingSession::Status::paused:
        return QStringLiteral("Paused");
    case NowPlayingSession::Status::stopped:
        return QStringLiteral("Stopped");
    }
    Q_UNREACHABLE();
}

QVariantMap MprisPlayerAdaptor::metadata() const {
    const QDBusObjectPath trackId(QStringLiteral("/com/orbelo/desktop/track/%1").arg(session_->track()));
    // Desktop shells show a track's title and artist, so the detail line goes in as the artist.
    return {{QStringLiteral("mpris:trackid"), QVariant::fromValue(trackId)},
            {QStringLiteral("xesam:title"), session_->title()},
            {QStringLiteral("xesam:artist"), QStringList{session_->detail()}}};
}

void MprisPlayerAdaptor::Play() {
    Q_EMIT session_->playRequested();
}

void MprisPlayerAdaptor::Pause() {
    Q_EMIT session_->pauseRequested();
}

void MprisPlayerAdaptor::PlayPause() {
    Q_EMIT session_->playPauseRequested();
}

void MprisPlayerAdaptor::Next() {
    Q_EMIT session_->nextRequested();
}

void MprisPlayerAdaptor::Previous() {
    Q_EMIT session_->previousRequested();
}

void MprisPlayerAdaptor::Stop() {
    Q_EMIT session_->stopRequested();
}

void MprisPlayerAdaptor::announce(const QString& property, const QVariant& value) {
    if (!session_->isPublished())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(NowPlayingSession::objectPath,
                                                     QStringLiteral("org.freedesktop.DBus.Properties"),
                                                     QStringLiteral("PropertiesChanged"));
    signal << QStringLiteral("org.mpris.MediaPlayer2.Player") << QVariantMap{{property, value}}
           << QStringList();
    session_->bus().send(signal);
}
