#include "Speech/InstalledVoices.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {

bool onPath(const QString& program) {
    return !QStandardPaths::findExecutable(program).isEmpty();
}

QStringList askFlite() {
    QProcess flite;
    flite.start(QStringLiteral("flite"), {QStringLiteral("-lv")});
    if (!flite.waitForFinished(10000) || flite.exitStatus() != QProcess::NormalExit)
        return {};
    return InstalledVoices::fliteVoicesIn(flite.readAllStandardOutput());
}

} // namespace

InstalledVoices InstalledVoices::probe() {
    InstalledVoices installed;
    if (onPath(QStringLiteral("festival")) && onPath(QStringLiteral("text2wave")))
        installed.festivalVoices = festivalHtsVoices(QString::fromLatin1(festivalVoicesDir));
    if (onPath(QStringLiteral("flite")))
        installed.fliteVoices = askFlite();
    installed.espeak = onPath(QStringLiteral("espeak-ng"));
    return installed;
}

QStringList InstalledVoices::festivalHtsVoices(const QString& voicesDir) {
    // Festival's own folders for English voices; a name also goes into a Scheme command, so it
    // is held to the characters voice names use.
    static const QRegularExpression voiceName(QStringLiteral("^[a-z0-9_]+_hts$"));
    QStringList voices;
    for (const QString& language :
         {QStringLiteral("english"), QStringLiteral("us"), QStringLiteral("british")}) {
        const QDir folder(QDir(voicesDir).filePath(language));
        for (const QString& name : folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            const QDir voice(folder.filePath(name));
            if (voiceName.match(name).hasMatch() &&
                QFileInfo(voice.filePath("festvox/" + name + ".scm")).isFile() &&
                QFileInfo(voice.filePath("hts/" + name + ".htsvoice")).isFile())
                voices.append(name);
        }
    }
    voices.sort();
    return voices;
}

QStringList InstalledVoices::fliteVoicesIn(const QByteArray& listing) {
    const QByteArray heading = "Voices available:";
    const qsizetype at = listing.indexOf(heading);
    if (at < 0)
        return {};
    const QByteArray line = listing.mid(at + heading.size()).split('\n').first();
    return QString::fromUtf8(line).split(u' ', Qt::SkipEmptyParts);
}
