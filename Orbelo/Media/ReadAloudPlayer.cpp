#include "Media/ReadAloudPlayer.h"

#include "Media/SpeechDispatcherModule.h"

#include <QJSEngine>

#include <algorithm>

namespace {
QPointer<ReadAloudPlayer> exposedPlayer;
}

ReadAloudPlayer::ReadAloudPlayer(const PreferencesStore& preferences, const QStringList& engines,
                                 QObject* parent)
    : QObject(parent), preferences_(preferences) {
    for (const QString& name : engines) {
        auto* speech = new QTextToSpeech(name, this);
        // speech-dispatcher's plugin loads without its daemon and only then reports the error.
        if (speech->state() != QTextToSpeech::Error) {
            speech_ = speech;
            break;
        }
        delete speech;
    }
    if (!speech_)
        return;
    if (!speech_->availableLocales().contains(QLocale()))
        speech_->setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    // After the locale, which brings its own default voice.
    const QList<QVoice> voices = speech_->availableVoices();
    QStringList names;
    for (const QVoice& voice : voices)
        names.append(voice.name());
    if (const qsizetype preferred = preferredVoice(names); preferred >= 0)
        speech_->setVoice(voices[preferred]);
    connect(speech_, &QTextToSpeech::stateChanged, this, &ReadAloudPlayer::followEngine);
}

void ReadAloudPlayer::exposeToQml(ReadAloudPlayer* player) {
    exposedPlayer = player;
}

ReadAloudPlayer* ReadAloudPlayer::create(QQmlEngine*, QJSEngine*) {
    Q_ASSERT_X(exposedPlayer, "ReadAloudPlayer", "a screen reads aloud before the app made its player");
    QJSEngine::setObjectOwnership(exposedPlayer, QJSEngine::CppOwnership);
    return exposedPlayer;
}

QStringList ReadAloudPlayer::preferredEngines() {
    return orderEngines(QTextToSpeech::availableEngines(), SpeechDispatcherModule::configured());
}

// Word error rates of a speech recogniser on lecture paragraphs: 14–41% for festival's HTS slt voice,
// 16–47% for flite's slt, 86% for espeak-ng (speech-dispatcher's usual module).
QStringList ReadAloudPlayer::orderEngines(const QStringList& available,
                                          const QString& speechDispatcherModule) {
    const QString flite = QStringLiteral("flite");
    const QString speechd = QStringLiteral("speechd");
    const QStringList preference = speechDispatcherModule == QStringLiteral("festival")
                                       ? QStringList{speechd, flite}
                                       : QStringList{flite, speechd};
    QStringList ordered;
    for (const QString& name : preference) {
        if (available.contains(name))
            ordered.append(name);
    }
    for (const QString& name : available) {
        if (!ordered.contains(name))
            ordered.append(name);
    }
    return ordered;
}

// speech-dispatcher lists the voices of all its modules: festival's slt before flite's.
qsizetype ReadAloudPlayer::preferredVoice(const QStringList& voices) {
    for (const auto& matches : {+[](const QString& name) { return name.contains(QStringLiteral("_slt_")); },
                                +[](const QString& name) { return name == QStringLiteral("slt"); }}) {
        for (qsizetype i = 0; i < voices.size(); ++i) {
            if (matches(voices[i].toLower()))
                return i;
        }
    }
    return -1;
}

// The rate offsets were chosen on a 0-to-1 scale with its default in the middle; QTextToSpeech's
// scale runs from -1 to 1, twice as wide, so each offset is doubled: 0.75× → -0.07, 1.25× → +0.07,
// 1.5× → +0.14, 1.75× → +0.21, 2× → +0.28.
double ReadAloudPlayer::speechRate(PlaybackSpeed speed) {
    static constexpr std::array<double, 6> offsets{-0.035, 0.0, 0.035, 0.07, 0.105, 0.14};
    return std::clamp(2 * offsets[speed.value()], -1.0, 1.0);
}

void ReadAloudPlayer::speak(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty() || !speech_)
        return;
    speech_->stop(QTextToSpeech::BoundaryHint::Immediate);
    speech_->setRate(speechRate(PlaybackSpeed::stored(preferences_)));
    setPhase(Phase::loading);
    speech_->say(trimmed);
}

void ReadAloudPlayer::stop() {
    if (speech_)
        speech_->stop(QTextToSpeech::BoundaryHint::Immediate);
    setPhase(Phase::idle);
}

void ReadAloudPlayer::followEngine(QTextToSpeech::State state) {
    switch (state) {
    case QTextToSpeech::Speaking:
        setPhase(Phase::speaking);
        break;
    case QTextToSpeech::Paused:
        setPhase(Phase::paused);
        break;
    case QTextToSpeech::Ready:
        // The engine reports the stop of the previous text after the new one was handed over.
        if (phase_ != Phase::loading)
            setPhase(Phase::idle);
        break;
    case QTextToSpeech::Error:
        setPhase(Phase::idle);
        break;
    }
}

void ReadAloudPlayer::setPhase(Phase phase) {
    if (phase == phase_)
        return;
    phase_ = phase;
    Q_EMIT phaseChanged();
}
