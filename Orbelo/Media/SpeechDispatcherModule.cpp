#include "Media/SpeechDispatcherModule.h"

#include <QFile>
#include <QStandardPaths>

QString SpeechDispatcherModule::configured() {
    const QString user = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                         QStringLiteral("/speech-dispatcher/speechd.conf");
    for (const QString& path : {user, QStringLiteral("/etc/speech-dispatcher/speechd.conf")}) {
        QFile config(path);
        if (config.open(QIODevice::ReadOnly))
            return fromConfig(config.readAll());
    }
    return {};
}

QString SpeechDispatcherModule::fromConfig(const QByteArray& config) {
    QString module;
    for (const QByteArray& line : config.split('\n')) {
        const QList<QByteArray> words = line.simplified().split(' ');
        // Keys are case-insensitive; the value may be quoted.
        if (words.size() >= 2 && words[0].compare("DefaultModule", Qt::CaseInsensitive) == 0)
            module = QString::fromUtf8(words[1]).remove(u'"');
    }
    return module;
}
