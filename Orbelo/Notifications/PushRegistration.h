#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "APIClient.h"
#include "TaskScope.h"

#include <functional>
#include <optional>

class NotificationManager;

// This device's push registration, for whoever is signed in. Each sign-in runs the notification
// manager's registration check; the device token it posts is registered with the backend
// ("linux": the token names the notifier agent's stream, not a phone's push service) and the
// agent is asked to hold the push stream open. Signing out closes the stream and forgets the token,
// so the next sign-in registers a new one. A failed backend registration is dropped.
class PushRegistration : public QObject {
    Q_OBJECT
public:
    static inline const QString platform = QStringLiteral("linux");

    using MakeClient = std::function<APIClient()>;

    // `origin` is the server whose push stream the agent opens; `certificatePem` an extra
    // certificate it trusts (empty for none).
    PushRegistration(NotificationManager& manager, MakeClient makeClient, QString origin,
                     QString certificatePem, QObject* parent = nullptr);
    ~PushRegistration() override;

    // The signed-in user now: a new id registers, none after someone was signed in signs out.
    // (None before anyone has been seen is the auth client still loading, and changes nothing.)
    void update(const std::optional<QString>& userId);

private:
    static async::Task<void> registerDevice(PushRegistration* self, QString token);

    NotificationManager& manager_;
    MakeClient makeClient_;
    QString origin_;
    QString certificatePem_;
    std::optional<QString> userId_;
    async::TaskScope::TaskId registering_ = 0;
    async::TaskScope tasks_; // last: tasks end before what they use
};
