#include "SongComposer.h"
#include "BackingTrack.h"
#include "SongArrangement.h"
#include "SongGenre.h"
#include "SongMelody.h"
#include "SongText.h"
#include "VocalRenderer.h"

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

SongComposer::Request tenSeconds(const QString& genre) {
    return {"Cell transport", cellTransportNotes(), {"osmosis"}, genre, 10};
}

} // namespace

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
        QTest::addColumn<QString>("genre");
        QTest::newRow("sung") << "acoustic";
        QTest::newRow("spoken") << "hip-hop";
    }
    void theVocalIsHeardWhereItsLinesAre() {
        QFETCH(QString, genre);
        const SongGenre& style = *SongGenre::find(genre);
        const SongArrangement arrangement = SongArrangement::plan(style, 20);
        const QStringList lines{"Osmosis moves the water", "Diffusion spreads it out", "Oh yeah", "Osmosis"};
        const SongMelody melody = SongMelody::compose(style, arrangement, lines);
        QCOMPARE(melody.notes.first().word, "Osmosis");
        QCOMPARE(melody.notes.first().startBeat, double(arrangement.introBeats));
        QString error;
        const auto samples = qsizetype(arrangement.durationMs() * VocalRenderer::sampleRate / 1000);
        const auto vocal = VocalRenderer::render(melody, style, arrangement.beatSeconds(), samples, &error);
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
