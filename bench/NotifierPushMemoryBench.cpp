// orbelo-notifier's memory with its push stream open: the agent is started as its own process on
// the session bus, push is started against a scripted stream server on loopback TLS, a batch of
// notifications is pushed and shown, and then its resident set (VmRSS), proportional set (Pss)
// and private memory are read from /proc. Needs a session bus with a Secret Service: run it as
//   Platform/SecretStore/tests/run-with-secret-service.sh build/bench/bench_NotifierPushMemory
#include "ScriptedPushServer.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

namespace {

const QString service = QStringLiteral("com.orbelo.desktop.Notifier");

QDBusMessage callAgent(const QString& method, const QVariantList& arguments = {}) {
    QDBusMessage message = QDBusMessage::createMethodCall(
        service, QStringLiteral("/com/orbelo/desktop/Notifier"), service, method);
    message.setArguments(arguments);
    return QDBusConnection::sessionBus().call(message, QDBus::BlockWithGui);
}

// A value in kB from one of the process's /proc files, in MiB.
double procMiB(qint64 pid, const char* file, const char* key) {
    QFile status(QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(file)));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QRegularExpression line(QStringLiteral("^%1:\\s+(\\d+) kB").arg(QLatin1String(key)),
                                  QRegularExpression::MultilineOption);
    return line.match(QString::fromLatin1(status.readAll())).captured(1).toDouble() / 1024.0;
}

double privateMiB(qint64 pid) {
    return procMiB(pid, "smaps_rollup", "Private_Clean") + procMiB(pid, "smaps_rollup", "Private_Dirty");
}

class PushCounter : public QObject {
    Q_OBJECT
public:
    int count = 0;
public Q_SLOTS:
    void pushed(const QString&) { ++count; }
};

void BM_AgentWithStreamOpen(benchmark::State& state) {
    const int notifications = int(state.range(0));
    for (auto _ : state) {
        QTemporaryDir data;
        ScriptedPushServer server;
        PushCounter counter;
        QDBusConnection::sessionBus().connect(service, QStringLiteral("/com/orbelo/desktop/Notifier"),
                                              service, QStringLiteral("PushReceived"), &counter,
                                              SLOT(pushed(QString)));
        QProcess agent;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_HOME"), data.path());
        agent.setProcessEnvironment(environment);
        agent.setStandardErrorFile(QProcess::nullDevice());
        agent.start(QStringLiteral(NOTIFIER_BINARY), QStringList());
        if (!agent.waitForStarted() ||
            !QTest::qWaitFor(
                [] { return QDBusConnection::sessionBus().interface()->isServiceRegistered(service); },
                20000)) {
            state.SkipWithError("the agent did not start");
            return;
        }
        const QDBusMessage started =
            callAgent(QStringLiteral("StartPush"), {server.origin(), ScriptedPushServer::certificatePem()});
        if (started.type() != QDBusMessage::ReplyMessage ||
            !QTest::qWaitFor([&server] { return server.stream() != nullptr; }, 20000)) {
            state.SkipWithError("the push stream did not open");
            return;
        }
        for (int i = 1; i <= notifications; ++i)
            server.sendNotification(i, QStringLiteral("n-%1").arg(i), QStringLiteral("Quiz ready"),
                                    QStringLiteral("Your quiz on chapter %1 is ready.").arg(i));
        if (!QTest::qWaitFor([&counter, notifications] { return counter.count == notifications; }, 20000))
            state.SkipWithError("not every notification was pushed");
        QTest::qWait(2000); // let the agent settle after the burst
        const qint64 pid = agent.processId();
        state.counters["VmRSS_MiB"] = procMiB(pid, "status", "VmRSS");
        state.counters["Pss_MiB"] = procMiB(pid, "smaps_rollup", "Pss");
        state.counters["Private_MiB"] = privateMiB(pid);
        state.counters["pushed"] = counter.count;
        callAgent(QStringLiteral("StopPush"));
        agent.terminate();
        agent.waitForFinished(10000);
    }
}
BENCHMARK(BM_AgentWithStreamOpen)->Arg(20)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

#include "NotifierPushMemoryBench.moc"
