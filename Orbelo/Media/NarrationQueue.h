#pragma once

#include <QList>
#include <QObject>
#include <QUrl>

// Plays a narration's audio segments one after the other without a gap between them.
class NarrationQueue : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Starts over with `segments`, playing from `first` at `rate` (1.0 the recorded speed, the
    // pitch unchanged at any rate).
    virtual void start(const QList<QUrl>& segments, int first, double rate) = 0;
    virtual void pause() = 0;
    virtual void resume() = 0;
    virtual void setRate(double rate) = 0;
    // Stops and forgets the segments.
    virtual void clear() = 0;
    // The position within the playing segment, 0 to 1; 0 while its length is unknown.
    virtual double itemProgress() const = 0;

Q_SIGNALS:
    // The segment at `index` played to its end; the next one, if any, is already playing.
    void itemEnded(int index);
    void failed(const QString& reason);
};
