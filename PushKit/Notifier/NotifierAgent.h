#pragma once

#include "Clock.h"
#include "DesktopNotifications.h"
#include "NotificationScheduler.h"
#include "PushService.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>

// The agent on the session bus: owns com.orbelo.desktop.Notifier, serves its interface
// (PushKit/README.md), shows due requests through the desktop's notification server and opens
// Orbelo on a click. Also the desktop's push client: shows what the server pushes while push is
// on. Finishes once push is off, nothing is pending and nothing shown can still be clicked for
// `idleGrace`; D-Bus activation starts it again for the next request.
class NotifierAgent : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.orbelo.desktop.Notifier")
public:
    static inline const QString serviceName = QStringLiteral("com.orbelo.desktop.Notifier");
    static inline const QString objectPath = QStringLiteral("/com/orbelo/desktop/Notifier");
    static constexpr int maxPending = 64;
    static constexpr std::chrono::seconds idleGrace{30};

    // Pushed notifications are shown as "push:<id>" with serial 0, which no scheduled request has.
    static inline const QString pushIdPrefix = QStringLiteral("push:");

    NotifierAgent(QDBusConnection bus, PendingStore store, std::unique_ptr<PushService> push, QTimeZone zone,
                  QObject* parent = nullptr);
    ~NotifierAgent() override;

    // Takes the bus name and loads the pending requests. False when another agent owns the name:
    // this one must then exit.
    bool start();
    NotificationScheduler& scheduler() { return scheduler_; }
    PushService& push() { return *push_; }

public Q_SLOTS:
    // The interface, as documented in PushKit/README.md.
    Q_SCRIPTABLE void Add(const QString& id, const QString& title, const QString& body,
                          const QString& soundName, const QVariantMap& userInfo, const QVariantMap& trigger);
    Q_SCRIPTABLE uint RemoveByIds(const QStringList& ids);
    Q_SCRIPTABLE uint RemoveByPrefix(const QString& prefix);
    Q_SCRIPTABLE QList<QVariantMap> ListPending();
    // Answered once the keyring has.
    Q_SCRIPTABLE QString DeviceToken();
    Q_SCRIPTABLE void StartPush(const QString& origin, const QString& certificatePem);
    // Answered once the keyring has deleted the token.
    Q_SCRIPTABLE void StopPush();

Q_SIGNALS:
    // A pushed notification went to the desktop's notification server.
    Q_SCRIPTABLE void PushReceived(const QString& notificationId);
    // Idle for the grace period (the bus name is released), or the bus is gone (the session
    // ended): the process may end.
    void finished();

private Q_SLOTS:
    void onBusDisconnected();

private:
    void refuse(const QString& errorName, const QString& message);
    // Starts or stops the idle countdown; any call to the interface starts it afresh.
    void updateIdle();
    void showPushed(const PushMessage& message);
    void onShown(const QString& id, quint64 serial);

    QDBusConnection bus_;
    NotificationScheduler scheduler_;
    DesktopNotifications notifications_;
    std::unique_ptr<PushService> push_;
    async::Clock* idleClock_ = nullptr;
    async::Clock::TimerId idleTimer_ = 0;
};
