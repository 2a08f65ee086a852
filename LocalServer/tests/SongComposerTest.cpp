#include "Songs/SongComposer.h"
#include "SongText.h"
#include "Songs/BackingTrack.h"
#include "Songs/SongArrangement.h"
#include "Songs/SongGenre.h"
#include "Songs/SongMelody.h"
#include "Songs/VocalRenderer.h"
#include "Songs/VoicePitch.h"
#include "Speech/SpeechVoice.h"

#include "Speech/InstalledVoices.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

namespace {

// What sox says about a file: `sox --i <flag>` or the statistics of `sox <file> -n stat`.
QString soxInfo(const QString& path, const QString& flag) {
    QProcess sox;
    sox.start("sox", {"--i", flag, path});
    sox.waitForFinished();
    return QString::fromUtf8(sox.readAllStandardOutput()).trimmed();
}

double rmsOf(const QString& path) {
    QProcess sox;
    sox.start("sox", {path, "-n", "stat"});
    sox.waitForFinished();
    for (const QString& line : QString::fromUtf8(sox.readAllStandardError()).split(u'\n'))
        if (line.startsWith("RMS     amplitude:"))
            return line.section(u':', 1).trimmed().toDouble();
    return -1;
}

double rmsBetween(const std::vector<float>& samples, double fromSeconds, double toSeconds) {
    const auto from = size_t(fromSeconds * VocalRenderer::sampleRate);
    const auto to = std::min(samples.size(), size_t(toSeconds * VocalRenderer::sampleRate));
    double sum = 0;
    for (size_t i = from; i < to; ++i)
        sum += samples[i] * samples[i];
    return to > from ? std::sqrt(sum / double(to - from)) : 0;
}

// How alike the track's loudness is to itself `lagSeconds` later (Pearson's r of 10 ms frames):
// near 1 when the track repeats with that period.
double selfSimilarity(const std::vector<float>& samples, double lagSeconds) {
    const int frame = VocalRenderer::sampleRate / 100;
    std::vector<double> loudness;
    for (size_t at = 0; at + frame <= samples.size(); at += size_t(frame)) {
        double sum = 0;
        for (int i = 0; i < frame; ++i)
            sum += std::abs(samples[at + size_t(i)]);
        loudness.push_back(sum / frame);
    }
    const auto lag = size_t(std::lround(lagSeconds * 100));
    const size_t n = loudness.size() - lag;
    double meanA = 0, meanB = 0;
    for (size_t i = 0; i < n; ++i) {
        meanA += loudness[i] / double(n);
        meanB += loudness[i + lag] / double(n);
    }
    double ab = 0, aa = 0, bb = 0;
    for (size_t i = 0; i < n; ++i) {
        const double a = loudness[i] - meanA, b = loudness[i + lag] - meanB;
        ab += a * b;
        aa += a * a;
        bb += b * b;
    }
    return ab / std::sqrt(aa * bb);
}

// A tone at `hz` with the falling harmonics of a voice.
std::vector<float> voiced(double hz, double seconds) {
    std::vector<float> samples(size_t(seconds * VocalRenderer::sampleRate));
    for (size_t i = 0; i < samples.size(); ++i) {
        const double t = double(i) / VocalRenderer::sampleRate;
        for (int harmonic = 1; harmonic <= 8; ++harmonic)
            samples[i] += float(0.3 / harmonic * std::sin(2 * M_PI * hz * harmonic * t));
    }
    return samples;
}

// The voices a vocal can be sung in here: espeak-ng always, flite and festival when installed.
std::vector<SpeechVoice> singers() {
    const InstalledVoices installed = InstalledVoices::probe();
    std::vector<SpeechVoice> voices{SpeechVoice{}};
    if (installed.fliteVoices.contains("slt"))
        voices.push_back({SpeechVoice::Engine::flite, "slt"});
    if (!installed.festivalVoices.isEmpty())
        voices.push_back(SpeechVoice::mostIntelligible(installed));
    return voices;
}

SongComposer::Request tenSeconds(const QString& genre) {
    return {"Cell transport", cellTransportNotes(), {"osmosis"}, genre, 10};
}

} // namespace

Q_DECLARE_METATYPE(SpeechVoice)

// Whole songs from study notes: a playable Ogg of the asked length in every genre, the vocal heard
// where the lines are, and the ways a song stops short.
class SongComposerTest : public QObject {
    Q_OBJECT

private slots:
    void everyGenreGivesAPlayableSong_data() {
        QTest::addColumn<QString>("genre");
        for (const QString& genre : SongComposer::genres())
            QTest::newRow(qPrintable(genre)) << genre;
    }
    void everyGenreGivesAPlayableSong() {
        QFETCH(QString, genre);
        QTemporaryDir directory;
        QString error;
        const auto song = SongComposer::compose(
            tenSeconds(genre), directory.path(), [] { return false; }, &error);
        QVERIFY2(song, qPrintable(error));
        QCOMPARE(song->tempoBpm, SongGenre::find(genre)->tempoBpm);
        QVERIFY(song->lyrics.contains(QStringLiteral("Tempo: %1 BPM").arg(song->tempoBpm)));
        QVERIFY(song->lyrics.contains("osmosis", Qt::CaseInsensitive));
        // Only the song is left in the directory: the working files are gone.
        QCOMPARE(QDir(directory.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 QStringList{QFileInfo(song->audioPath).fileName()});
        QVERIFY(song->audioPath.endsWith(".ogg"));
        QCOMPARE(soxInfo(song->audioPath, "-t"), "vorbis");
        const double seconds = soxInfo(song->audioPath, "-D").toDouble();
        QVERIFY2(std::abs(seconds - song->durationMs / 1000.0) < 0.05, qPrintable(QString::number(seconds)));
        QVERIFY2(std::abs(seconds - 10) <= 4 * 60.0 / song->tempoBpm + 0.01,
                 qPrintable(QString::number(seconds)));
        const QStringList comments = soxInfo(song->audioPath, "-a").split(u'\n');
        QVERIFY(comments.contains(QStringLiteral("TEMPO=%1").arg(song->tempoBpm)));
        QVERIFY(comments.contains("GENRE=" + SongGenre::find(genre)->label));
        const double rms = rmsOf(song->audioPath);
        QVERIFY2(rms > 0.05, qPrintable(QString::number(rms)));
    }

    void theBandKeepsTheGenresTempo_data() {
        QTest::addColumn<QString>("genre");
        for (const QString& genre : SongComposer::genres())
            QTest::newRow(qPrintable(genre)) << genre;
    }
    void theBandKeepsTheGenresTempo() {
        QFETCH(QString, genre);
        const SongGenre& style = *SongGenre::find(genre);
        const SongArrangement arrangement = SongArrangement::plan(style, 12);
        const auto samples = qsizetype(arrangement.durationMs() * VocalRenderer::sampleRate / 1000);
        const std::vector<float> backing =
            BackingTrack::render(style, arrangement, VocalRenderer::sampleRate, samples);
        QCOMPARE(qsizetype(backing.size()), samples);
        QVERIFY(*std::max_element(backing.begin(), backing.end()) > 0.1f);
        // The drums repeat every bar of the genre's tempo, and not at a tempo 6% off.
        const double bar = 4 * 60.0 / style.tempoBpm;
        const double onTempo = selfSimilarity(backing, bar);
        QVERIFY2(onTempo > 0.45, qPrintable(QString::number(onTempo)));
        for (const double off : {0.94, 1.06}) {
            const double offTempo = selfSimilarity(backing, bar * off);
            QVERIFY2(offTempo < onTempo - 0.3,
                     qPrintable(QStringLiteral("%1 vs %2").arg(offTempo).arg(onTempo)));
        }
    }

    void theVocalIsHeardWhereItsLinesAre_data() {
        QTest::addColumn<SpeechVoice>("voice");
        QTest::addColumn<QString>("genre");
        for (const SpeechVoice& voice : singers()) {
            QTest::newRow(qPrintable(voice.provider() + " sung")) << voice << QStringLiteral("acoustic");
            QTest::newRow(qPrintable(voice.provider() + " spoken")) << voice << QStringLiteral("hip-hop");
        }
    }
    void theVocalIsHeardWhereItsLinesAre() {
        QFETCH(SpeechVoice, voice);
        QFETCH(QString, genre);
        const SongGenre& style = *SongGenre::find(genre);
        const SongArrangement arrangement = SongArrangement::plan(style, 20);
        const QStringList lines{"Osmosis moves the water", "Diffusion spreads it out", "Oh yeah", "Osmosis"};
        const SongMelody melody = SongMelody::compose(style, arrangement, lines);
        QCOMPARE(melody.notes.first().word, "Osmosis");
        QCOMPARE(melody.notes.first().startBeat, double(arrangement.introBeats));
        QString error;
        const auto samples = qsizetype(arrangement.durationMs() * VocalRenderer::sampleRate / 1000);
        const auto vocal =
            VocalRenderer::render(melody, style, arrangement.beatSeconds(), samples, voice, &error);
        QVERIFY2(vocal, qPrintable(error));
        QCOMPARE(qsizetype(vocal->size()), samples);
        const double beat = arrangement.beatSeconds();
        // Silent through the intro, loud while the first line is sung.
        QCOMPARE(rmsBetween(*vocal, 0, arrangement.introBeats * beat - 0.01), 0.0);
        const double line = rmsBetween(*vocal, arrangement.introBeats * beat,
                                       (arrangement.introBeats + arrangement.lineBeats) * beat);
        QVERIFY2(line > 0.02, qPrintable(QString::number(line)));
        // Every word sounds within its own note: the two-word line ends before the next line starts.
        const double afterThird = rmsBetween(*vocal, arrangement.lineStartBeat(3) * beat - 0.05,
                                             arrangement.lineStartBeat(3) * beat - 0.01);
        QVERIFY2(afterThird < 0.01, qPrintable(QString::number(afterThird)));
    }

    // festival and flite say a word in their own voice; Sonic moves it onto each note, a fifth apart
    // here, in the octave of the base pitch nearest the voice.
    void sungWordsLandOnTheirNotes_data() {
        QTest::addColumn<SpeechVoice>("voice");
        for (const SpeechVoice& voice : singers()) {
            if (voice.engine != SpeechVoice::Engine::espeak)
                QTest::newRow(qPrintable(voice.provider())) << voice;
        }
    }
    void sungWordsLandOnTheirNotes() {
        QFETCH(SpeechVoice, voice);
        const SongGenre& acoustic = *SongGenre::find("acoustic");
        SongMelody melody;
        melody.notes = {{"moon", 0, 4, 0}, {"moon", 4, 4, 7}, {"moon", 8, 4, -5}};
        const double beat = 0.5;
        QString error;
        const auto vocal = VocalRenderer::render(
            melody, acoustic, beat, qsizetype(12 * beat * VocalRenderer::sampleRate), voice, &error);
        QVERIFY2(vocal, qPrintable(error));
        std::vector<double> pitches;
        for (const SongMelody::Note& note : melody.notes) {
            const auto from = vocal->begin() + qsizetype(note.startBeat * beat * VocalRenderer::sampleRate);
            const auto pitch = VoicePitch::median(
                std::vector<float>(from, from + qsizetype(note.beats * beat * VocalRenderer::sampleRate)),
                VocalRenderer::sampleRate);
            QVERIFY(pitch);
            pitches.push_back(*pitch);
        }
        // Within a quarter tone of the note in some octave of the base pitch, the same octave for all.
        const double octave = std::round(std::log2(pitches[0] / VocalRenderer::basePitchHz));
        for (size_t i = 0; i < pitches.size(); ++i) {
            const double wanted =
                VocalRenderer::basePitchHz * std::exp2(octave + melody.notes[i].semitone / 12.0);
            QVERIFY2(std::abs(12 * std::log2(pitches[i] / wanted)) < 0.5,
                     qPrintable(QStringLiteral("%1 Hz for %2 Hz").arg(pitches[i]).arg(wanted)));
        }
    }

    void voicePitchFindsTheFundamental_data() {
        QTest::addColumn<double>("hz");
        for (const double hz : {75.0, 110.0, 180.0, 310.0, 450.0})
            QTest::addRow("%g Hz", hz) << hz;
    }
    void voicePitchFindsTheFundamental() {
        QFETCH(double, hz);
        const auto pitch = VoicePitch::median(voiced(hz, 0.5), VocalRenderer::sampleRate);
        QVERIFY(pitch);
        QVERIFY2(std::abs(*pitch / hz - 1) < 0.015, qPrintable(QString::number(*pitch)));
    }

    // Silence and noise have no pitch; a word's quiet edges don't drag its pitch down.
    void voicePitchNeedsAVoice() {
        QVERIFY(!VoicePitch::median(std::vector<float>(11025, 0.0f), VocalRenderer::sampleRate));
        std::vector<float> noise(11025);
        quint32 state = 1;
        for (float& s : noise) {
            state = state * 1664525u + 1013904223u;
            s = float(state >> 8) / float(1u << 24) - 0.5f;
        }
        QVERIFY(!VoicePitch::median(noise, VocalRenderer::sampleRate));
        QVERIFY(!VoicePitch::median(voiced(180, 0.02), VocalRenderer::sampleRate));
        std::vector<float> word = voiced(200, 0.3);
        std::vector<float> edge = voiced(100, 0.3);
        for (float& s : edge)
            s *= 0.1f;
        word.insert(word.end(), edge.begin(), edge.end());
        QVERIFY2(std::abs(*VoicePitch::median(word, VocalRenderer::sampleRate) - 200) < 3,
                 "the quiet edge counted");
    }

    void sungNotesFollowTheMelody() {
        const SongGenre& rock = *SongGenre::find("rock");
        const SongArrangement arrangement = SongArrangement::plan(rock, 60);
        const SongMelody melody =
            SongMelody::compose(rock, arrangement, {"one two three four five six seven eight"});
        QCOMPARE(melody.notes.size(), 8);
        QSet<int> pitches;
        for (qsizetype i = 0; i < melody.notes.size(); ++i) {
            const SongMelody::Note& note = melody.notes.at(i);
            pitches.insert(note.semitone);
            // Each note starts where the one before ended, all within the line.
            if (i > 0)
                QCOMPARE(note.startBeat, melody.notes.at(i - 1).startBeat + melody.notes.at(i - 1).beats);
            QVERIFY(note.startBeat + note.beats <= arrangement.introBeats + arrangement.lineBeats);
            // Within espeak-ng's pitch range around the base pitch.
            QVERIFY(std::abs(note.semitone) <= 10);
        }
        QVERIFY(pitches.size() >= 3);
    }

    void cancellingStopsTheSongAndLeavesNothing_data() {
        QTest::addColumn<int>("polls");
        for (const int polls : {0, 1, 2, 3})
            QTest::addRow("after %d stages", polls) << polls;
    }
    void cancellingStopsTheSongAndLeavesNothing() {
        QFETCH(int, polls);
        QTemporaryDir directory;
        int asked = 0;
        QString error;
        const auto song = SongComposer::compose(
            tenSeconds("lo-fi"), directory.path(), [&] { return asked++ >= polls; }, &error);
        QVERIFY(!song);
        QCOMPARE(error, "The song was cancelled.");
        QCOMPARE(asked, polls + 1);
        QVERIFY(QDir(directory.path()).isEmpty(QDir::NoDotAndDotDot | QDir::AllEntries));
    }

    void songsThatCannotBeWrittenSaySo() {
        QTemporaryDir directory;
        QString error;
        SongComposer::Request request = tenSeconds("rock");
        request.text = " \n ";
        QVERIFY(!SongComposer::compose(
            request, directory.path(), [] { return false; }, &error));
        QCOMPARE(error, "Couldn't write the lyrics: the document has no text to sing about.");
        request.text = "just some words without any definitions";
        request.keyIdeas.clear();
        QVERIFY(!SongComposer::compose(
            request, directory.path(), [] { return false; }, &error));
        QVERIFY2(error.startsWith("Couldn't write the lyrics: no key terms were found"), qPrintable(error));
        request = tenSeconds("polka");
        QVERIFY(!SongComposer::compose(
            request, directory.path(), [] { return false; }, &error));
        QVERIFY2(error.contains("“polka” is not a genre"), qPrintable(error));
        QVERIFY(QDir(directory.path()).isEmpty(QDir::NoDotAndDotDot | QDir::AllEntries));
    }
};

QTEST_MAIN(SongComposerTest)
#include "SongComposerTest.moc"
