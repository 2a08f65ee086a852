#include "Songs/SongComposer.h"

#include "Songs/BackingTrack.h"
#include "Songs/SongArrangement.h"
#include "Songs/SongGenre.h"
#include "Songs/SongLyricsWriter.h"
#include "Songs/SongMelody.h"
#include "Songs/VocalRenderer.h"
#include "Storage/PrivateFile.h"
#include "Storage/RandomId.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr int rate = VocalRenderer::sampleRate;

float peakOf(const std::vector<float>& samples) {
    float peak = 0;
    for (const float s : samples)
        peak = std::max(peak, std::abs(s));
    return peak;
}

// The vocal on top: both parts brought to the same peak, the band about 8 dB under the voice, a
// fade in over the first beat and out over the ending, the whole just below full scale.
std::vector<float> mix(const std::vector<float>& vocal, const std::vector<float>& backing,
                       const SongArrangement& arrangement) {
    const float vocalGain = 1.0f / std::max(peakOf(vocal), 1e-3f);
    const float backingGain = 0.4f / std::max(peakOf(backing), 1e-3f);
    std::vector<float> out(backing.size());
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = vocal[i] * vocalGain + backing[i] * backingGain;
    const auto fadeIn = qsizetype(arrangement.beatSeconds() * rate);
    const auto fadeOut = qsizetype(std::min(2.0, 4 * arrangement.beatSeconds()) * rate);
    const auto size = qsizetype(out.size());
    for (qsizetype i = 0; i < std::min(fadeIn, size); ++i)
        out[size_t(i)] *= float(i) / fadeIn;
    for (qsizetype i = 0; i < std::min(fadeOut, size); ++i)
        out[size_t(size - 1 - i)] *= float(i) / fadeOut;
    const float gain = 0.95f / std::max(peakOf(out), 1e-3f);
    for (float& s : out)
        s *= gain;
    return out;
}

// 16-bit mono PCM WAVE, the form sox reads fastest.
bool writeWav(const std::vector<float>& samples, const QString& path) {
    QByteArray bytes(44 + qsizetype(samples.size()) * 2, Qt::Uninitialized);
    char* p = bytes.data();
    const auto put32 = [](char* at, quint32 v) { qToLittleEndian(v, at); };
    const auto put16 = [](char* at, quint16 v) { qToLittleEndian(v, at); };
    const auto dataBytes = quint32(samples.size() * 2);
    memcpy(p, "RIFF", 4);
    put32(p + 4, 36 + dataBytes);
    memcpy(p + 8, "WAVEfmt ", 8);
    put32(p + 16, 16);
    put16(p + 20, 1);
    put16(p + 22, 1);
    put32(p + 24, rate);
    put32(p + 28, rate * 2);
    put16(p + 32, 2);
    put16(p + 34, 16);
    memcpy(p + 36, "data", 4);
    put32(p + 40, dataBytes);
    for (size_t i = 0; i < samples.size(); ++i)
        put16(p + 44 + i * 2, quint16(qint16(std::lround(std::clamp(samples[i], -1.0f, 1.0f) * 32767))));
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Ogg Vorbis by sox, the genre and tempo as comments.
bool encode(const QString& wav, const QString& ogg, const SongGenre& genre, QString* error) {
    QProcess sox;
    sox.start("sox", {"-q", wav, "--comment", QStringLiteral("TEMPO=%1").arg(genre.tempoBpm), "--add-comment",
                      QStringLiteral("GENRE=%1").arg(genre.label), "-C", "4", ogg});
    if (!sox.waitForStarted(10000)) {
        *error = QStringLiteral("sox could not be started");
        return false;
    }
    if (!sox.waitForFinished(120000) || sox.exitStatus() != QProcess::NormalExit || sox.exitCode() != 0) {
        *error =
            QStringLiteral("sox failed: %1").arg(QString::fromUtf8(sox.readAllStandardError()).trimmed());
        return false;
    }
    return true;
}

} // namespace

QStringList SongComposer::genres() {
    QStringList ids;
    for (const SongGenre& genre : SongGenre::all())
        ids.append(genre.id);
    return ids;
}

std::optional<SongComposer::Written> SongComposer::writeLyrics(const Request& request, QString* error) {
    const auto fail = [error](const QString& message) -> std::optional<Written> {
        *error = message;
        return std::nullopt;
    };
    const SongGenre* genre = SongGenre::find(request.genre);
    if (!genre)
        return fail(QStringLiteral("Couldn't write the lyrics: “%1” is not a genre (%2).")
                        .arg(request.genre, genres().join(QStringLiteral(", "))));
    if (request.text.trimmed().isEmpty())
        return fail(QStringLiteral("Couldn't write the lyrics: the document has no text to sing about."));
    int ideas = 0;
    const QList<KeyTerm> terms = SongLyricsWriter::termsFor(request.text, request.keyIdeas, &ideas);
    if (terms.isEmpty())
        return fail(QStringLiteral("Couldn't write the lyrics: no key terms were found in the text. Add key "
                                   "ideas to focus on and try again."));
    const SongArrangement arrangement = SongArrangement::plan(*genre, request.targetSeconds);
    return Written{SongLyricsWriter::write(request.title, terms, ideas, *genre, arrangement), arrangement};
}

std::optional<SongComposer::Song> SongComposer::compose(const Request& request, const QString& directory,
                                                        const std::function<bool()>& cancelled,
                                                        QString* error) {
    const auto fail = [error](const QString& message) -> std::optional<Song> {
        *error = message;
        return std::nullopt;
    };
    const auto written = writeLyrics(request, error);
    if (!written)
        return std::nullopt;
    const SongGenre* genre = SongGenre::find(request.genre);
    const SongArrangement& arrangement = written->arrangement;
    const SongLyricsWriter::Lyrics& lyrics = written->lyrics;
    const QString stopped = QStringLiteral("The song was cancelled.");
    if (cancelled())
        return fail(stopped);

    const auto samples = qsizetype(std::llround(arrangement.durationMs() / 1000.0 * rate));
    const SongMelody melody = SongMelody::compose(*genre, arrangement, lyrics.sungLines);
    QString why;
    const std::optional<std::vector<float>> vocal =
        VocalRenderer::render(melody, *genre, arrangement.beatSeconds(), samples, request.voice, &why);
    if (!vocal)
        return fail(QStringLiteral("Couldn't render the vocal: %1").arg(why));
    if (cancelled())
        return fail(stopped);

    const std::vector<float> backing = BackingTrack::render(*genre, arrangement, rate, samples);
    if (cancelled())
        return fail(stopped);

    QTemporaryDir work(QDir(directory).filePath(QStringLiteral("song-work-XXXXXX")));
    const QString wav = work.filePath(QStringLiteral("mix.wav"));
    if (!work.isValid() || !writeWav(mix(*vocal, backing, arrangement), wav))
        return fail(QStringLiteral("Couldn't mix the song: the working files could not be written."));
    if (cancelled())
        return fail(stopped);

    const QString encoded = work.filePath(QStringLiteral("song.ogg"));
    if (!encode(wav, encoded, *genre, &why))
        return fail(QStringLiteral("Couldn't encode the song: %1").arg(why));
    const QString path = QDir(directory).filePath(RandomId::make(QStringLiteral("song")) + ".ogg");
    if (!PrivateFile::restrictFile(encoded) || !QFile::rename(encoded, path))
        return fail(QStringLiteral("Couldn't store the song: the audio file could not be moved."));

    Song song;
    song.lyrics = lyrics.text;
    song.tempoBpm = genre->tempoBpm;
    song.durationMs = arrangement.durationMs();
    song.audioPath = path;
    return song;
}
