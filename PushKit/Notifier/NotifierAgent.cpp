#include "NotifierAgent.h"

#include "AppLauncher.h"
#include "NotifierLogging.h"

#include <QDBusConnectionInterface>
#include <QDBusMetaType>

#include <algorithm>

namespace {

const QString invalidArgument = QStringLiteral("com.orbelo.desktop.Notifier.Error.InvalidArgument");
const QString limitExceeded = QStringLiteral("com.orbelo.desktop.Notifier.Error.LimitExceeded");
const QString keyringError = QStringLiteral("com.orbelo.desktop.Notifier.Error.Keyring");

} // namespace

NotifierAgent::NotifierAgent(QDBusConnection bus, PendingStore store, std::unique_ptr<PushService> push,
                             QTimeZone zone, QObject* parent)
    : QObject(parent), bus_(bus), scheduler_(std::move(store), std::move(zone)), notifications_(bus),
      push_(std::move(push)) {
    qDBusRegisterMetaType<QList<QVariantMap>>();
    connect(&scheduler_, &NotificationScheduler::due, &notifications_, &DesktopNotifications::show);
    connect(&notifications_, &DesktopNotifications::shown, &scheduler_, &NotificationScheduler::delivered);
    connect(&notifications_, &DesktopNotifications::failed, &scheduler_,
            &NotificationScheduler::deliveryFailed);
    connect(&notifications_, &DesktopNotifications::serverAppeared, &scheduler_,
            &NotificationScheduler::retryUndelivered);
    connect(&notifications_, &DesktopNotifications::activated, this,
            [](const QString& link) { AppLauncher::open(link); });
    connect(&scheduler_, &NotificationScheduler::countChanged, this, &NotifierAgent::updateIdle);
    connect(&notifications_, &DesktopNotifications::openCountChanged, this, &NotifierAgent::updateIdle);
    connect(push_.get(), &PushService::received, this, &NotifierAgent::showPushed);
    connect(push_.get(), &PushService::onChanged, this, &NotifierAgent::updateIdle);
    // Without a notification server a pushed notification is not kept for later, but the app still
    // hears of it.
    connect(&notifications_, &DesktopNotifications::shown, this, &NotifierAgent::onShown);
    connect(&notifications_, &DesktopNotifications::failed, this, &NotifierAgent::onShown);
}

NotifierAgent::~NotifierAgent() {
    if (idleTimer_)
        idleClock_->cancel(idleTimer_);
}

bool NotifierAgent::start() {
    // Served before the name is taken, so a call that activated the agent finds the object.
    bus_.registerObject(objectPath, this,
                        QDBusConnection::ExportScriptableSlots | QDBusConnection::ExportScriptableSignals);
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
        bus_.interface()->registerService(serviceName, QDBusConnectionInterface::DontQueueService,
                                          QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered) {
        qCWarning(lcNotifier, "another orbelo-notifier owns %s; this one exits", qUtf8Printable(serviceName));
        bus_.unregisterObject(objectPath);
        return false;
    }
    bus_.connect(QString(), QStringLiteral("/org/freedesktop/DBus/Local"),
                 QStringLiteral("org.freedesktop.DBus.Local"), QStringLiteral("Disconnected"), this,
                 SLOT(onBusDisconnected()));
    scheduler_.start();
    push_->resume();
    updateIdle();
    return true;
}

void NotifierAgent::onBusDisconnected() {
    qCInfo(lcNotifier, "the session bus is gone; exiting");
    Q_EMIT finished();
}

void NotifierAgent::Add(const QString& id, const QString& title, const QString& body,
                        const QString& soundName, const QVariantMap& userInfo, const QVariantMap& trigger) {
    QString error;
    std::optional<NotificationRequest> request =
        NotificationRequest::fromCall(id, title, body, soundName, userInfo, trigger, &error);
    if (!request)
        return refuse(invalidArgument, error);
    const bool replacing =
        std::ranges::any_of(scheduler_.pending(), [&id](const auto& r) { return r.id == id; });
    if (!replacing && scheduler_.count() >= maxPending)
        return refuse(limitExceeded,
                      QStringLiteral("at most %1 notifications can be pending").arg(maxPending));
    scheduler_.add(std::move(*request));
    updateIdle();
}

uint NotifierAgent::RemoveByIds(const QStringList& ids) {
    const int removed = scheduler_.removeByIds(ids);
    updateIdle();
    return uint(removed);
}

uint NotifierAgent::RemoveByPrefix(const QString& prefix) {
    const int removed = scheduler_.removeByPrefix(prefix);
    updateIdle();
    return uint(removed);
}

QList<QVariantMap> NotifierAgent::ListPending() {
    QList<QVariantMap> list;
    for (const NotificationRequest& request : scheduler_.pending())
        list.append(request.toVariantMap());
    updateIdle();
    return list;
}

QString NotifierAgent::DeviceToken() {
    updateIdle();
    if (!calledFromDBus())
        return {};
    setDelayedReply(true);
    push_->tokens().fetch([bus = bus_, call = message()](const QString& token, const QString& error) mutable {
        if (!error.isEmpty())
            qCWarning(lcNotifier, "no device token: %s", qUtf8Printable(error));
        bus.send(error.isEmpty() ? call.createReply(token) : call.createErrorReply(keyringError, error));
    });
    return {};
}

void NotifierAgent::StartPush(const QString& origin, const QString& certificatePem) {
    if (const QString problem = PushEndpoint::problemWith(origin, certificatePem); !problem.isEmpty())
        return refuse(invalidArgument, problem);
    qCInfo(lcNotifier, "push is on for %s", qUtf8Printable(origin));
    push_->start(origin, certificatePem);
    updateIdle();
}

void NotifierAgent::StopPush() {
    qCInfo(lcNotifier, "push is off");
    std::optional<QDBusMessage> call;
    if (calledFromDBus()) {
        setDelayedReply(true);
        call = message();
    }
    push_->stop([bus = bus_, call](const QString& error) mutable {
        if (!error.isEmpty())
            qCWarning(lcNotifier, "%s", qUtf8Printable(error));
        if (call)
            bus.send(error.isEmpty() ? call->createReply() : call->createErrorReply(keyringError, error));
    });
    updateIdle();
}

void NotifierAgent::showPushed(const PushMessage& message) {
    NotificationRequest request;
    request.id = pushIdPrefix + message.id;
    request.title = message.title;
    request.body = message.message;
    request.soundName = NotificationRequest::defaultSound;
    request.userInfo.insert(QStringLiteral("deepLink"), QStringLiteral("notification:") + message.id);
    notifications_.show(request, 0);
}

void NotifierAgent::onShown(const QString& id, quint64 serial) {
    if (serial == 0 && id.startsWith(pushIdPrefix))
        Q_EMIT PushReceived(id.mid(pushIdPrefix.size()));
}

void NotifierAgent::refuse(const QString& errorName, const QString& message) {
    if (calledFromDBus())
        sendErrorReply(errorName, message);
    qCInfo(lcNotifier, "refused a request: %s", qUtf8Printable(message));
}

void NotifierAgent::updateIdle() {
    if (idleTimer_) {
        idleClock_->cancel(idleTimer_);
        idleTimer_ = 0;
    }
    if (scheduler_.count() > 0 || notifications_.openCount() > 0 || push_->isOn())
        return;
    idleClock_ = &async::Clock::current();
    idleTimer_ = idleClock_->schedule(idleGrace, [this] {
        idleTimer_ = 0;
        qCInfo(lcNotifier, "nothing pending; exiting");
        bus_.unregisterService(serviceName);
        bus_.unregisterObject(objectPath);
        Q_EMIT finished();
    });
}
