#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "Client.h"
#include "Connectivity/NetworkMonitor.h"
#include "Shell/UserKeyedTask.h"
#include "TaskScope.h"

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
    static inline const char* const missingKeyMessage = "No usable publishable key: configure the build with "
                                                        "ORBELO_CLERK_PUBLISHABLE_KEY or run with --server";

    explicit OrbeloApp(AppContext& context, QObject* parent = nullptr);
    ~OrbeloApp() override;

    // Runs the start-up steps in order; stops the process when the publishable key is unusable.
    // `trustedCertificatePem` is what this run trusts besides the system's certificates (the local
    // server's), for the notifier agent's push stream too.
    void launch(const QString& trustedCertificatePem = {});

    NetworkMonitor* networkMonitor() const { return networkMonitor_.get(); }
    // The focus timer, whichever section is shown (also AppFocusTimer.timer in QML).
    PomodoroTimer* focusTimer() const { return focusTimer_.get(); }

    // The configured publishable key, or nothing when it is empty or still the "__SET_ME__"
    // placeholder.
    static std::optional<QString> publishableKey(const QString& value);
    // The two start-up log lines: the backend base URL and the first 20 characters of the key.
    static QStringList launchLogLines(const QString& baseURL, const QString& publishableKey);
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
