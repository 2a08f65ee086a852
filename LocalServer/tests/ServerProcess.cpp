#include "ServerProcess.h"

#include "TestDatabase.h"

#include <QRegularExpression>

ServerProcess::ServerProcess(const QString& executable, const QString& dataDir, const char* point) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("ORBELO_SERVER_FAIL_AT", point);
    process_.setProcessEnvironment(environment);
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QStringList arguments{"--port", "0", "--data-dir", dataDir, "--job-delay", "0"};
    if (const QString database = TestDatabase::forDataDir(dataDir); !database.isEmpty())
        arguments << "--database" << database;
    process_.start(executable, arguments);
    // The first lines name the address; a server that dies while starting prints none.
    static const QRegularExpression listening("listening on (https://\\S+)");
    QByteArray output;
    while (!listening.match(QString::fromUtf8(output)).hasMatch() && process_.waitForReadyRead(60'000))
        output += process_.readAllStandardOutput();
    base_ = listening.match(QString::fromUtf8(output)).captured(1);
}

ServerProcess::~ServerProcess() {
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished();
    }
}

int ServerProcess::exitCode() {
    if (process_.state() != QProcess::NotRunning && !process_.waitForFinished(60'000))
        return -1;
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
}
