#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

// Plays one downloaded song; RewardSongPlayer drives it. Times are in milliseconds.
class SongPlayback : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Replaces what plays with `audio` (any container the media backend reads), paused at its start.
    virtual void load(const QByteArray& audio) = 0;
    virtual void play() = 0;
    virtual void pause() = 0;
    virtual void seek(qint64 position) = 0;
    // Stops and lets go of the audio.
    virtual void clear() = 0;

Q_SIGNALS:
    void positionChanged(qint64 position);
    void durationChanged(qint64 duration);
    // Played to its end.
    void ended();
    // The audio could not be decoded or played.
    void failed(const QString& reason);
};
