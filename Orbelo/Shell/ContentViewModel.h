#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "Client.h"
#include "Shell/OnboardingGate.h"
#include "TaskScope.h"

#include <QPointer>
#include <QtQml/qqmlregistration.h>

#include <functional>

class AppContext;

// What fills the window: the loading screen until the auth client has loaded, the sign-in screen
// until someone is fully signed in, then the shell. Also recovers from a backend call that was
// refused for its token: one recovery at a time, keeping the session when a token still comes
// and signing out when none does.
class ContentViewModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(RootState rootState READ rootState NOTIFY rootStateChanged)
    Q_PROPERTY(bool isRecoveringAuth READ isRecoveringAuth NOTIFY isRecoveringAuthChanged)
    Q_PROPERTY(QString userId READ userId NOTIFY userIdChanged)
    Q_PROPERTY(OnboardingGate* onboarding READ onboarding CONSTANT)
    // Whose refused backend requests start a recovery.
    Q_PROPERTY(AppContext* context READ context WRITE setContext NOTIFY contextChanged)
    Q_MOC_INCLUDE("Common/AppContext.h")
public:
    enum class RootState { Loading, SignedOut, Shell };
    Q_ENUM(RootState)

    // Where the auth state comes from; the default is the shared auth client and AuthSession.
    struct AuthSource {
        std::function<bool()> isLoaded;
        std::function<std::optional<Client>()> client;
        std::function<async::Task<std::optional<QString>>()> currentToken;
        std::function<async::Task<void>()> signOut;
        OnboardingGate::ProfileFetch fetchProfile;
    };

    explicit ContentViewModel(QObject* parent = nullptr);
    ContentViewModel(AuthSource source, QObject* parent = nullptr);

    RootState rootState() const { return rootState_; }
    bool isRecoveringAuth() const { return isRecoveringAuth_; }
    QString userId() const { return userId_; }
    // The onboarding decision, taken when the shell first shows.
    OnboardingGate* onboarding() const { return onboarding_; }
    AppContext* context() const { return context_; }
    void setContext(AppContext* context);

    // Re-reads the auth state; called whenever the auth client changes.
    Q_INVOKABLE void refresh();

    // A session counts only when no sign-in attempt is left unfinished (a second factor pending).
    static bool isSignedIn(const std::optional<Client>& client);
    static RootState stateFor(bool loaded, const std::optional<Client>& client);

Q_SIGNALS:
    void rootStateChanged();
    void isRecoveringAuthChanged();
    void userIdChanged();
    void contextChanged();

private:
    static async::Task<void> recover(ContentViewModel* self);
    void authenticationFailed();
    void setRecovering(bool recovering);

    AuthSource source_;
    RootState rootState_ = RootState::Loading;
    bool isRecoveringAuth_ = false;
    QString userId_;
    OnboardingGate* onboarding_ = nullptr;
    QPointer<AppContext> context_;
    async::TaskScope tasks_; // last: tasks end before what they use
};
