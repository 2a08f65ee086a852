#include "SpeechSynthesizer.h"

#include "PrivateFile.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

QString SpeechSynthesizer::voiceFor(const QString& requested) {
    static const QRegularExpression espeakVoice("^[a-z]{2,3}(-[a-z0-9]{2,8})?(\\+[a-z0-9]+)?$");
    const QString voice = requested.trimmed().toLower();
    return espeakVoice.match(voice).hasMatch() ? voice : QString(defaultVoice);
}

bool SpeechSynthesizer::synthesize(const QString& text, const QString& voice, const QString& path,
                                   QString* error) {
    const QString espeakVoice = voiceFor(voice);
    if (run(text, espeakVoice, path, error))
        return true;
    // A voice that espeak-ng does not have falls back to the default one.
    return espeakVoice != defaultVoice && run(text, defaultVoice, path, error);
}

bool SpeechSynthesizer::run(const QString& text, const QString& voice, const QString& path, QString* error) {
    QDir().mkpath(QFileInfo(path).path());
    const QString partial = path + ".part";
    QProcess espeak;
    espeak.start("espeak-ng", {"-v", voice, "-s", "165", "-w", partial, "--stdin"});
    if (!espeak.waitForStarted(10000)) {
        *error = "espeak-ng could not be started";
        return false;
    }
    espeak.write(text.toUtf8());
    espeak.closeWriteChannel();
    if (!espeak.waitForFinished(120000) || espeak.exitStatus() != QProcess::NormalExit ||
        espeak.exitCode() != 0) {
        *error = "espeak-ng failed: " + QString::fromUtf8(espeak.readAllStandardError()).trimmed();
        QFile::remove(partial);
        return false;
    }
    QFile::remove(path);
    if (!PrivateFile::restrictFile(partial) || !QFile::rename(partial, path)) {
        *error = "the audio file could not be stored";
        return false;
    }
    return true;
}
