#include "SpeechVoice.h"

#include "InstalledVoices.h"

QString SpeechVoice::provider() const {
    switch (engine) {
    case Engine::festival:
        return QStringLiteral("festival");
    case Engine::flite:
        return QStringLiteral("flite");
    case Engine::espeak:
        break;
    }
    return QStringLiteral("espeak-ng");
}

// Word error rates of Debian's pocketsphinx on lecture paragraphs: espeak-ng 86%; festival's HTS slt
// and flite's slt within a word of each other on bench_VoiceIntelligibility's (28% and 27%), festival
// ahead on three more (14–41% against 16–47%).
SpeechVoice SpeechVoice::mostIntelligible(const InstalledVoices& installed) {
    if (!installed.festivalVoices.isEmpty()) {
        const QString slt = QStringLiteral("cmu_us_slt_arctic_hts");
        return {Engine::festival,
                installed.festivalVoices.contains(slt) ? slt : installed.festivalVoices.first()};
    }
    if (installed.fliteVoices.contains(QStringLiteral("slt")))
        return {Engine::flite, QStringLiteral("slt")};
    return {};
}
