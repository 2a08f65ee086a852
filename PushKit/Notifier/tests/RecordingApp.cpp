#include "RecordingApp.h"

#include <QDir>
#include <QFile>

QString installRecordingApp(const QString& directory) {
    const QString recorded = QDir(directory).filePath(QStringLiteral("arguments"));
    const QString app = QDir(directory).filePath(QStringLiteral("orbelo"));
    QFile script(app);
    if (!script.open(QIODevice::WriteOnly))
        return {};
    // Written aside and moved, so that a reader never sees half of it.
    script.write(
        QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$@\" > %1.tmp && mv %1.tmp %1\n").arg(recorded).toUtf8());
    script.close();
    script.setPermissions(QFile::ExeOwner | QFile::ReadOwner);
    qputenv("ORBELO_APP", app.toUtf8());
    return recorded;
}
