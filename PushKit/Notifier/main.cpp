#include "NotifierAgent.h"
#include "NotifierLogging.h"
#include "SecretServiceTokenKeyring.h"
#include "TimeZoneWatch.h"
#include "TimerFdClock.h"

#include <QCoreApplication>

// orbelo-notifier: keeps Orbelo's pending notifications and shows them when due, and shows what the
// server pushes, with or without the app running (PushKit/README.md).
int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orbelo-notifier"));

    const std::chrono::seconds offset = TimerFdClock::offsetFromEnvironment();
    if (offset.count() != 0)
        qCInfo(lcNotifier, "the clock is shifted by %lld s", qlonglong(offset.count()));
    TimerFdClock clock(offset);
    const async::ScopedClock useClock(clock);

    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        qCCritical(lcNotifier, "no session bus: %s", qUtf8Printable(bus.lastError().message()));
        return 1;
    }
    auto push = std::make_unique<PushService>(PushStore(PushStore::defaultPath()),
                                              std::make_unique<SecretServiceTokenKeyring>());
    push->connection().followSystemNetwork();
    NotifierAgent agent(bus, PendingStore(PendingStore::defaultPath()), std::move(push),
                        QTimeZone::systemTimeZone());
    if (!agent.start())
        return 0; // another agent runs
    TimeZoneWatch zones;
    QObject::connect(&zones, &TimeZoneWatch::changed, &agent.scheduler(),
                     &NotificationScheduler::setTimeZone);
    QObject::connect(&agent, &NotifierAgent::finished, &application, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    return application.exec();
}
