#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// The server executable on a data dir and the data dir's test database (TestDatabase), with no
// job delay and `arguments` besides. With a fail point `point` (FailPoint), it dies there (exit
// status 70) as a crash or a kill would; with an `environment`, that names its fail or hold
// points. Requests go to url(); exitCode() waits for the end.
class ServerProcess {
public:
    ServerProcess(const QString& executable, const QString& dataDir, const char* point,
                  const QStringList& arguments = {});
    ServerProcess(const QString& executable, const QString& dataDir, const QProcessEnvironment& environment,
                  const QStringList& arguments);
    ~ServerProcess();
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    // Empty until the server listens (or when it never did).
    QString url(const QString& path) const { return base_.isEmpty() ? QString() : base_ + path; }
    // The exit status once the process has ended; -1 when it did not end or crashed otherwise.
    int exitCode();
    // Ends the process at once (SIGKILL), with no chance to give anything back.
    void kill();

private:
    QProcess process_;
    QString base_;
};
