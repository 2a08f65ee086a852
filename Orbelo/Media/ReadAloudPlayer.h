#pragma once

#include "Media/PlaybackSpeed.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTextToSpeech>
#include <QtQml/qqmlregistration.h>

class QJSEngine;
class QQmlEngine;

// Reads texts aloud with the desktop's speech engine: the application makes one player and every
// screen that reads aloud uses it, so starting a text anywhere stops the one being read. The
// speaking rate follows the PlaybackSpeed stored in `preferences`.
class ReadAloudPlayer : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(Phase phase READ phase NOTIFY phaseChanged)
    Q_PROPERTY(bool isSpeaking READ isSpeaking NOTIFY phaseChanged)
    // False when the desktop has no working speech engine; the screens then say so.
    Q_PROPERTY(bool isAvailable READ isAvailable CONSTANT)
public:
    enum class Phase { idle, loading, speaking, paused };
    Q_ENUM(Phase)

    // `engines` in order of preference; the first that starts without an error is used.
    ReadAloudPlayer(const PreferencesStore& preferences, const QStringList& engines,
                    QObject* parent = nullptr);

    // QML's ReadAloudPlayer is the player the application made and handed to exposeToQml().
    static void exposeToQml(ReadAloudPlayer* player);
    static ReadAloudPlayer* create(QQmlEngine*, QJSEngine*);

    // The installed engines, the most intelligible voice first (see orderEngines).
    static QStringList preferredEngines();
    // speech-dispatcher when it speaks through festival, then flite, then speech-dispatcher through
    // any other module, then the rest of `available` as listed.
    static QStringList orderEngines(const QStringList& available, const QString& speechDispatcherModule);
    // The index in `voices` of the one to speak with: slt, flite's own or festival's HTS voice,
    // clearer than the engines' defaults. -1 when there is none, to keep the engine's default.
    static qsizetype preferredVoice(const QStringList& voices);
    // QTextToSpeech's rate (-1 to 1, 0 the engine's default) for a speed.
    static double speechRate(PlaybackSpeed speed);

    Phase phase() const { return phase_; }
    bool isSpeaking() const { return phase_ == Phase::speaking || phase_ == Phase::loading; }
    bool isAvailable() const { return speech_ != nullptr; }
    QString engine() const { return speech_ ? speech_->engine() : QString(); }
    QString voice() const { return speech_ ? speech_->voice().name() : QString(); }

    // Trims the text; an empty one is ignored. Any speech under way stops first.
    Q_INVOKABLE void speak(const QString& text);
    Q_INVOKABLE void stop();

Q_SIGNALS:
    void phaseChanged();

private:
    void followEngine(QTextToSpeech::State state);
    void setPhase(Phase phase);

    const PreferencesStore& preferences_;
    QPointer<QTextToSpeech> speech_;
    Phase phase_ = Phase::idle;
};
