#pragma once

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <vector>

// A private desktop session for timing the app, as the end-to-end tests run it: a throwaway home
// with its own XDG directories, a virtual X server, a D-Bus session bus, an unlocked GNOME Keyring
// serving the Secret Service, and the local server with a fresh data dir on a free port. Nothing
// of the caller's session is used, so it needs neither a display nor a login session. The
// processes stop, in reverse order, when it goes away.
class HeadlessSession {
public:
    HeadlessSession();
    ~HeadlessSession();

    // Starts everything; on failure returns false with the reason in `error`.
    bool start(const QString& serverProgram, QString* error);

    // The environment for a program run in the session ("NAME=value" entries).
    QStringList environment() const { return environment_; }
    QString display() const { return display_; }
    QString serverURL() const { return serverURL_; }
    QString certificate() const { return certificate_; }
    QString path(const QString& name) const { return root_.filePath(name); }

private:
    // How a helper's output is kept: its standard output read here (errors to its log), or all of
    // it in its log.
    enum class Output { read, logged };
    QProcess* spawn(const QString& program, const QStringList& arguments, Output output);
    QString logPath(const QString& program) const;
    // The first line the process writes to its standard output (Xvfb's display, the bus address).
    QString firstLine(QProcess* process, QString* error);
    bool waitForBusName(const QString& name, QString* error);
    bool startServer(const QString& program, QString* error);
    void setVariable(const QString& name, const QString& value);

    QTemporaryDir root_;
    QStringList environment_;
    QString display_;
    QString serverURL_;
    QString certificate_;
    std::vector<std::unique_ptr<QProcess>> processes_; // in start order
};
