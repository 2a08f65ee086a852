#include "Songs/FestivalWords.h"

#include "Speech/WavInfo.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>

namespace {

// A Scheme string: the words and paths that go in hold neither quotes nor backslashes, but a
// temporary folder's path is not ours to vouch for.
QString quoted(QString text) {
    text.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\""));
    return u'"' + text + u'"';
}

QString wavePath(const QTemporaryDir& work, qsizetype index) {
    return work.filePath(QString::number(index) + ".wav");
}

// At the voice's own rate: the vocal's one pass through Sonic brings each word to the song's.
QString script(const QStringList& words, const QString& voice, const QTemporaryDir& work) {
    QString text = QStringLiteral("(voice_%1)\n"
                                  "(define (vocal_word utt file)\n"
                                  "  (utt.synth utt)\n"
                                  "  (utt.save.wave utt file 'riff))\n")
                       .arg(voice);
    for (qsizetype i = 0; i < words.size(); ++i)
        text += QStringLiteral("(vocal_word (Utterance Text %1) %2)\n")
                    .arg(quoted(words[i]), quoted(wavePath(work, i)));
    return text;
}

} // namespace

std::optional<SpokenWords> FestivalWords::say(const QStringList& words, const QString& voice,
                                              QString* error) {
    QTemporaryDir work;
    const QString path = work.filePath(QStringLiteral("words.scm"));
    QFile file(path);
    if (!work.isValid() || !file.open(QIODevice::WriteOnly) ||
        file.write(script(words, voice, work).toUtf8()) < 0 || !file.flush()) {
        *error = QStringLiteral("festival's script could not be written");
        return std::nullopt;
    }
    file.close();
    QProcess festival;
    festival.start(QStringLiteral("festival"), {QStringLiteral("--batch"), path});
    if (!festival.waitForStarted(10000)) {
        *error = QStringLiteral("festival could not be started");
        return std::nullopt;
    }
    // festival stops at the first command that fails, with its status and the reason on its
    // error stream.
    if (!festival.waitForFinished(120000) || festival.exitStatus() != QProcess::NormalExit ||
        festival.exitCode() != 0) {
        festival.kill();
        *error = QStringLiteral("festival failed: %1")
                     .arg(QString::fromUtf8(festival.readAllStandardError()).trimmed());
        return std::nullopt;
    }
    SpokenWords takes;
    takes.words.reserve(size_t(words.size()));
    for (qsizetype i = 0; i < words.size(); ++i) {
        QFile wave(wavePath(work, i));
        const QByteArray bytes = wave.open(QIODevice::ReadOnly) ? wave.readAll() : QByteArray();
        const auto info = WavInfo::read(bytes);
        if (!info || info->channels != 1 || info->bitsPerSample != 16 ||
            (takes.sampleRate != 0 && info->sampleRate != takes.sampleRate)) {
            *error = QStringLiteral("festival's audio for “%1” could not be read").arg(words[i]);
            return std::nullopt;
        }
        takes.sampleRate = info->sampleRate;
        std::vector<float>& take = takes.words.emplace_back(size_t(info->dataBytes / 2));
        const char* data = bytes.constData() + info->dataOffset;
        for (size_t s = 0; s < take.size(); ++s)
            take[s] = qFromLittleEndian<qint16>(data + 2 * s) / 32768.0f;
    }
    return takes;
}
