#include "ServerProcess.h"

#include "TestDatabase.h"

#include <QRegularExpression>

namespace {
QProcessEnvironment failingAt(const char* point) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (point)
        environment.insert("ORBELO_SERVER_FAIL_AT", point);
    return environment;
}
} // namespace

ServerProcess::ServerProcess(const QString& executable, const QString& dataDir, const char* point,
                             const QStringList& arguments)
    : ServerProcess(executable, dataDir, failingAt(point), arguments) {}

ServerProcess::ServerProcess(const QString& executable, const QString& dataDir,
                             const QProcessEnvironment& environment, const QStringList& arguments) {
    process_.setProcessEnvironment(environment);
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QStringList all = QStringList{"--port", "0", "--data-dir", dataDir, "--job-delay", "0"} + arguments;
    if (const QString database = TestDatabase::forDataDir(dataDir); !database.isEmpty())
        all << "--database" << database;
    process_.start(executable, all);
    // The first lines name the address; a server that dies while starting prints none.
    static const QRegularExpression listening("listening on (https://\\S+)");
    QByteArray output;
    while (!listening.match(QString::fromUtf8(output)).hasMatch() && process_.waitForReadyRead(60'000))
        output += process_.readAllStandardOutput();
    base_ = listening.match(QString::fromUtf8(output)).captured(1);
}

ServerProcess::~ServerProcess() {
    kill();
}

void ServerProcess::kill() {
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
