#pragma once

#include <QProcess>
#include <QString>

// The server executable on a data dir, made to die (exit status 70) at the fail point `point`
// (FailPoint) as a crash or a kill would; on the data dir's test database (TestDatabase). Requests go to
// url(); exitCode() waits for the end.
class ServerProcess {
public:
    ServerProcess(const QString& executable, const QString& dataDir, const char* point);
    ~ServerProcess();
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    // Empty until the server listens (or when it never did).
    QString url(const QString& path) const { return base_.isEmpty() ? QString() : base_ + path; }
    // The exit status once the process has ended; -1 when it did not end or crashed otherwise.
    int exitCode();

private:
    QProcess process_;
    QString base_;
};
