#include "Speech/SpeechVoice.h"

#include "Speech/InstalledVoices.h"

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

// Word error rates of Debian's pocketsphinx on bench_VoiceIntelligibility's four lecture paragraphs:
// festival's HTS slt 18% overall, flite's slt 24% (ahead on two paragraphs, by a few words), espeak-ng
// 77%.
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
