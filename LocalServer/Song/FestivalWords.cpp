#include "FestivalWords.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstring>

namespace {

// A Scheme string: the words and paths that go in hold neither quotes nor backslashes, but a
// temporary folder's path is not ours to vouch for.
QString quoted(QString text) {
    text.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\""));
    return u'"' + text + u'"';
}

QString script(const QStringList& words, const QString& voice, int sampleRate, const QTemporaryDir& work) {
    // Raw samples are written in this machine's byte order, as they are read back.
    QString text = QStringLiteral("(voice_%1)\n"
                                  "(define (vocal_word utt file)\n"
                                  "  (utt.synth utt)\n"
                                  "  (utt.wave.resample utt %2)\n"
                                  "  (utt.save.wave utt file 'raw))\n")
                       .arg(voice)
                       .arg(sampleRate);
    for (qsizetype i = 0; i < words.size(); ++i)
        text += QStringLiteral("(vocal_word (Utterance Text %1) %2)\n")
                    .arg(quoted(words[i]), quoted(work.filePath(QString::number(i) + ".raw")));
    return text;
}

} // namespace

std::optional<std::vector<std::vector<float>>>
FestivalWords::say(const QStringList& words, const QString& voice, int sampleRate, QString* error) {
    QTemporaryDir work;
    const QString path = work.filePath(QStringLiteral("words.scm"));
    QFile file(path);
    if (!work.isValid() || !file.open(QIODevice::WriteOnly) ||
        file.write(script(words, voice, sampleRate, work).toUtf8()) < 0 || !file.flush()) {
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
    if (!festival.waitForFinished(120000) || festival.exitStatus() != QProcess::NormalExit ||
        festival.exitCode() != 0) {
        festival.kill();
        *error = QStringLiteral("festival failed: %1")
                     .arg(QString::fromUtf8(festival.readAllStandardError()).trimmed());
        return std::nullopt;
    }
    std::vector<std::vector<float>> takes;
    takes.reserve(size_t(words.size()));
    for (qsizetype i = 0; i < words.size(); ++i) {
        QFile raw(work.filePath(QString::number(i) + ".raw"));
        if (!raw.open(QIODevice::ReadOnly)) {
            // festival goes on past a failed command and reports it only on its error stream.
            *error = QStringLiteral("festival could not say “%1”: %2")
                         .arg(words[i], QString::fromUtf8(festival.readAllStandardError()).trimmed());
            return std::nullopt;
        }
        const QByteArray bytes = raw.readAll();
        std::vector<float>& take = takes.emplace_back(size_t(bytes.size() / 2));
        for (size_t s = 0; s < take.size(); ++s) {
            qint16 sample;
            std::memcpy(&sample, bytes.constData() + 2 * s, 2);
            take[s] = sample / 32768.0f;
        }
    }
    return takes;
}
