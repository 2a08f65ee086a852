#include "AppLauncher.h"

#include "NotifierLogging.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

QString AppLauncher::findApp() {
    if (const QString app = qEnvironmentVariable("ORBELO_APP"); !app.isEmpty())
        return app;
    const QFileInfo beside(QCoreApplication::applicationDirPath() + QStringLiteral("/orbelo"));
    if (beside.isExecutable())
        return beside.filePath();
    return QStandardPaths::findExecutable(QStringLiteral("orbelo"));
}

bool AppLauncher::open(const QString& deepLink) {
    const QString app = findApp();
    if (app.isEmpty() || !QFileInfo(app).isExecutable()) {
        qCWarning(lcNotifier, "cannot open Orbelo: no orbelo executable %s",
                  app.isEmpty() ? "next to the agent or on PATH (set ORBELO_APP)"
                                : qUtf8Printable(QStringLiteral("at ") + app));
        return false;
    }
    QStringList arguments;
    if (!deepLink.isEmpty())
        arguments << QStringLiteral("--deep-link") << deepLink;
    if (!QProcess::startDetached(app, arguments)) {
        qCWarning(lcNotifier, "cannot start %s", qUtf8Printable(app));
        return false;
    }
    qCInfo(lcNotifier, "opened Orbelo%s", deepLink.isEmpty() ? "" : " with a deep link");
    return true;
}
