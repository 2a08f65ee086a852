#include "Speech/SpeechSynthesizer.h"

#include "Speech/SpeechText.h"
#include "Storage/PrivateFile.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

SpeechVoice SpeechSynthesizer::voiceFor(const SpeechVoice& chosen, const QString& requested) {
    if (chosen.engine != SpeechVoice::Engine::espeak)
        return chosen;
    static const QRegularExpression espeakVoice("^[a-z]{2,3}(-[a-z0-9]{2,8})?(\\+[a-z0-9]+)?$");
    const QString voice = requested.trimmed().toLower();
    return {SpeechVoice::Engine::espeak,
            espeakVoice.match(voice).hasMatch() ? voice : QString::fromLatin1(defaultEspeakVoice)};
}

bool SpeechSynthesizer::synthesize(const QString& text, const SpeechVoice& voice, const QString& path,
                                   QString* error) {
    QDir().mkpath(QFileInfo(path).path());
    const QString partial = path + ".part";
    switch (voice.engine) {
    case SpeechVoice::Engine::festival:
        // At espeak-ng's rate rather than the voice's own 32 kHz: narration files stay as small.
        return run("text2wave", {"-F", "22050", "-eval", "(voice_" + voice.name + ")", "-o", partial},
                   SpeechText::ascii(text).toLatin1(), partial, path, error);
    case SpeechVoice::Engine::flite:
        return run("flite", {"-voice", voice.name, "-o", partial}, SpeechText::ascii(text).toLatin1(),
                   partial, path, error);
    case SpeechVoice::Engine::espeak:
        break;
    }
    const auto espeak = [&](const QString& name) {
        return run("espeak-ng", {"-v", name, "-s", "165", "-w", partial, "--stdin"}, text.toUtf8(), partial,
                   path, error);
    };
    // A voice that espeak-ng does not have falls back to the default one.
    return espeak(voice.name) || (voice.name != defaultEspeakVoice && espeak(defaultEspeakVoice));
}

bool SpeechSynthesizer::run(const QString& program, const QStringList& arguments, const QByteArray& text,
                            const QString& partial, const QString& path, QString* error) {
    QProcess engine;
    engine.start(program, arguments);
    if (!engine.waitForStarted(10000)) {
        *error = program + " could not be started";
        return false;
    }
    engine.write(text);
    engine.closeWriteChannel();
    if (!engine.waitForFinished(120000) || engine.exitStatus() != QProcess::NormalExit ||
        engine.exitCode() != 0 || !QFileInfo(partial).isFile()) {
        engine.kill();
        *error = program + " failed: " + QString::fromUtf8(engine.readAllStandardError()).trimmed();
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
