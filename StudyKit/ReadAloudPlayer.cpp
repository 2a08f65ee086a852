#include "ReadAloudPlayer.h"

#include <QCoreApplication>
#include <QJSEngine>

#include <algorithm>

ReadAloudPlayer::ReadAloudPlayer(const QStringList& engines, QObject* parent) : QObject(parent) {
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
    connect(speech_, &QTextToSpeech::stateChanged, this, &ReadAloudPlayer::followEngine);
}

ReadAloudPlayer& ReadAloudPlayer::shared() {
    static QPointer<ReadAloudPlayer> player;
    if (!player)
        player = new ReadAloudPlayer(preferredEngines(), QCoreApplication::instance());
    return *player;
}

ReadAloudPlayer* ReadAloudPlayer::create(QQmlEngine*, QJSEngine*) {
    ReadAloudPlayer* player = &shared();
    QJSEngine::setObjectOwnership(player, QJSEngine::CppOwnership);
    return player;
}

QStringList ReadAloudPlayer::preferredEngines() {
    const QStringList available = QTextToSpeech::availableEngines();
    QStringList ordered;
    for (const QString& name : {QStringLiteral("speechd"), QStringLiteral("flite")}) {
        if (available.contains(name))
            ordered.append(name);
    }
    for (const QString& name : available) {
        if (!ordered.contains(name))
            ordered.append(name);
    }
    return ordered;
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
    speech_->setRate(speechRate(PlaybackSpeed::stored()));
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
