#include "HeadlessSession.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QThread>

#include <algorithm>

namespace {

constexpr int startupTimeoutMs = 30'000;

// Variables of the caller's session that must not leak into the private one.
const QStringList sessionVariables{"DISPLAY",
                                   "WAYLAND_DISPLAY",
                                   "XAUTHORITY",
                                   "DBUS_SESSION_BUS_ADDRESS",
                                   "AT_SPI_BUS_ADDRESS",
                                   "GNOME_KEYRING_CONTROL",
                                   "SSH_AUTH_SOCK",
                                   "SESSION_MANAGER",
                                   "XDG_SESSION_TYPE",
                                   "XDG_CURRENT_DESKTOP",
                                   "QT_QPA_PLATFORM",
                                   "QT_QPA_PLATFORMTHEME"};

const QString keyringPassword = QStringLiteral("bench-keyring");

} // namespace

HeadlessSession::HeadlessSession() {
    QProcessEnvironment inherited = QProcessEnvironment::systemEnvironment();
    for (const QString& name : sessionVariables)
        inherited.remove(name);
    environment_ = inherited.toStringList();
}

HeadlessSession::~HeadlessSession() {
    for (auto it = processes_.rbegin(); it != processes_.rend(); ++it) {
        QProcess& process = **it;
        process.terminate();
        if (!process.waitForFinished(10'000)) {
            process.kill();
            process.waitForFinished();
        }
    }
}

void HeadlessSession::setVariable(const QString& name, const QString& value) {
    const QString prefix = name + QLatin1Char('=');
    environment_.erase(std::remove_if(environment_.begin(), environment_.end(),
                                      [&](const QString& entry) { return entry.startsWith(prefix); }),
                       environment_.end());
    environment_ << prefix + value;
}

QProcess* HeadlessSession::spawn(const QString& program, const QStringList& arguments, Output output) {
    auto process = std::make_unique<QProcess>();
    process->setProgram(program);
    process->setArguments(arguments);
    process->setEnvironment(environment_);
    process->setWorkingDirectory(root_.path());
    const QString log = logPath(program);
    if (output == Output::logged) {
        process->setProcessChannelMode(QProcess::MergedChannels);
        process->setStandardOutputFile(log);
    } else {
        process->setStandardErrorFile(log);
    }
    process->start();
    processes_.push_back(std::move(process));
    return processes_.back().get();
}

QString HeadlessSession::firstLine(QProcess* process, QString* error) {
    const QDeadlineTimer deadline(startupTimeoutMs);
    while (!process->canReadLine()) {
        if (process->state() == QProcess::NotRunning || deadline.hasExpired() ||
            !process->waitForReadyRead(int(deadline.remainingTime()))) {
            if (!process->canReadLine()) {
                *error = QStringLiteral("%1 did not start").arg(process->program());
                return {};
            }
        }
    }
    return QString::fromLocal8Bit(process->readLine()).trimmed();
}

QString HeadlessSession::logPath(const QString& program) const {
    return root_.filePath(QFileInfo(program).fileName() + ".log");
}

bool HeadlessSession::start(const QString& serverProgram, QString* error) {
    if (!root_.isValid()) {
        *error = QStringLiteral("no temporary directory");
        return false;
    }
    const QString home = root_.filePath("home");
    const QString runtime = root_.filePath("runtime");
    QDir().mkpath(home);
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    setVariable("HOME", home);
    setVariable("XDG_RUNTIME_DIR", runtime);
    setVariable("XDG_CONFIG_HOME", home + "/.config");
    setVariable("XDG_DATA_HOME", home + "/.local/share");
    setVariable("XDG_CACHE_HOME", home + "/.cache");

    QProcess* x =
        spawn("Xvfb", {"-displayfd", "1", "-screen", "0", "1400x900x24", "-nolisten", "tcp", "-noreset"},
              Output::read);
    const QString displayNumber = firstLine(x, error);
    if (displayNumber.isEmpty())
        return false;
    display_ = QLatin1Char(':') + displayNumber;
    setVariable("DISPLAY", display_);

    QProcess* bus =
        spawn("dbus-daemon",
              {"--session", "--nofork", "--nopidfile", "--address=unix:dir=" + runtime, "--print-address=1"},
              Output::read);
    const QString busAddress = firstLine(bus, error);
    if (busAddress.isEmpty())
        return false;
    setVariable("DBUS_SESSION_BUS_ADDRESS", busAddress);

    QProcess* keyring =
        spawn("gnome-keyring-daemon", {"--foreground", "--unlock", "--components=secrets"}, Output::logged);
    keyring->write(keyringPassword.toUtf8());
    keyring->waitForBytesWritten(startupTimeoutMs);
    keyring->closeWriteChannel();
    if (!waitForBusName("org.freedesktop.secrets", error))
        return false;
    return startServer(serverProgram, error);
}

bool HeadlessSession::waitForBusName(const QString& name, QString* error) {
    const QString address = environment_.filter(QRegularExpression("^DBUS_SESSION_BUS_ADDRESS=")).value(0);
    QDBusConnection bus = QDBusConnection::connectToBus(address.section('=', 1), "bench-session");
    const QDeadlineTimer deadline(startupTimeoutMs);
    bool owned = false;
    while (bus.isConnected() && !(owned = bus.interface()->isServiceRegistered(name)) &&
           !deadline.hasExpired())
        QThread::msleep(50);
    QDBusConnection::disconnectFromBus("bench-session");
    if (!owned)
        *error = QStringLiteral("%1 did not appear on the session bus").arg(name);
    return owned;
}

bool HeadlessSession::startServer(const QString& program, QString* error) {
    // Its output goes to a file, which nobody has to keep reading while the app is timed.
    QProcess* server =
        spawn(program, {"--port", "0", "--data-dir", root_.filePath("server"), "--demo"}, Output::logged);
    // It prints its address and the path of its certificate once it listens.
    const QRegularExpression listening(QStringLiteral("listening on (https://\\S+)"));
    const QRegularExpression certificate(QStringLiteral("^  certificate: (.+)$"),
                                         QRegularExpression::MultilineOption);
    QString text;
    const QDeadlineTimer deadline(startupTimeoutMs);
    while (!deadline.hasExpired() && !server->waitForFinished(100)) {
        QFile log(logPath(program));
        if (log.open(QIODevice::ReadOnly))
            text = QString::fromLocal8Bit(log.readAll());
        const auto url = listening.match(text);
        const auto pem = certificate.match(text);
        if (url.hasMatch() && pem.hasMatch()) {
            serverURL_ = url.captured(1);
            certificate_ = pem.captured(1).trimmed();
            return true;
        }
    }
    *error = QStringLiteral("the local server did not report its address:\n") + text;
    return false;
}
