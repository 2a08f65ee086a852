#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "Client.h"
#include "Connectivity/NetworkMonitor.h"
#include "Shell/UserKeyedTask.h"
#include "TaskScope.h"

#include <QVariant>

class AppContext;
class Appearance;
class Clerk;
class ManagerFocusNotifications;
class PomodoroTimer;
class PushRegistration;
class ReadAloudPlayer;

#include <optional>

// The application at start: the application-wide objects, the auth client's configuration and
// the first load of its state. The window is built by the caller once launch() returns. The
// context's signals carry the notification manager's clicks and every refused backend request.
class OrbeloApp : public QObject {
    Q_OBJECT
public:
    static inline const char* const missingKeyMessage =
        "CLERK_PUBLISHABLE_KEY missing in Info.plist — check the active xcconfig";

    explicit OrbeloApp(AppContext& context, QObject* parent = nullptr);
    ~OrbeloApp() override;

    // Runs the start-up steps in order; stops the process when the publishable key is unusable.
    // `trustedCertificatePem` is what this run trusts besides the system's certificates (the local
    // server's), for the notifier agent's push stream too.
    void launch(const QString& trustedCertificatePem = {});

    NetworkMonitor* networkMonitor() const { return networkMonitor_.get(); }
    // The focus timer, whichever section is shown (also AppFocusTimer.timer in QML).
    PomodoroTimer* focusTimer() const { return focusTimer_.get(); }

    // The publishable key in a bundle value, or nothing when it is missing, not a string, empty,
    // or still the "__SET_ME__" placeholder.
    static std::optional<QString> publishableKey(const QVariant& value);
    // The two start-up log lines: the backend base URL and the first 20 characters of the key.
    static QStringList launchLogLines(const QVariant& baseURL, const QString& publishableKey);
    // The secrets access group the auth client is configured with.
    static QString keychainAccessGroup();
    // The signed-in user's id, when someone is signed in.
    static std::optional<QString> signedInUserId(const std::optional<Client>& client);
    // The auth client's lifecycle hooks for an application state: only the active app polls its
    // session, and coming back to the front refreshes it.
    static void forwardApplicationState(Qt::ApplicationState state, Clerk& clerk);

private:
    AppContext& context_;
    std::unique_ptr<Appearance> appearance_; // also Appearance in QML
    std::unique_ptr<NetworkMonitor> networkMonitor_;
    std::unique_ptr<ReadAloudPlayer> readAloud_;
    std::unique_ptr<UserKeyedTask> timezoneReport_;
    std::unique_ptr<UserKeyedTask> themeOwnership_;
    std::unique_ptr<PushRegistration> pushRegistration_;
    std::unique_ptr<ManagerFocusNotifications> focusNotifications_;
    std::unique_ptr<PomodoroTimer> focusTimer_; // after what it uses
    async::TaskScope tasks_;                    // last: tasks end before what they use
};
