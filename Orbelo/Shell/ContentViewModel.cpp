#include "Shell/ContentViewModel.h"

#include "Auth/AuthSession.h"
#include "Clerk.h"
#include "Common/AppContext.h"
#include "PreferencesStore.h"
#include "User/UserAPI.h"

ContentViewModel::ContentViewModel(QObject* parent)
    : ContentViewModel(
          AuthSource{[] { return Clerk::shared().isLoaded(); }, [] { return Clerk::shared().client(); },
                     [] { return AuthSession::currentToken(); }, [] { return AuthSession::signOut(); },
                     [] { return UserAPI(AuthSession::makeAPIClient()).profile(); }},
          parent) {
    Clerk& clerk = Clerk::shared();
    connect(&clerk, &Clerk::clientChanged, this, &ContentViewModel::refresh);
    connect(&clerk, &Clerk::loadedChanged, this, &ContentViewModel::refresh);
}

ContentViewModel::ContentViewModel(AuthSource source, QObject* parent)
    : QObject(parent), source_(std::move(source)),
      onboarding_(new OnboardingGate(source_.fetchProfile, PreferencesStore::standard(), this)) {
    refresh();
}

void ContentViewModel::setContext(AppContext* context) {
    if (!AppContext::switchTo(context_, context, this))
        return;
    if (context)
        connect(context, &AppContext::authenticationFailed, this, &ContentViewModel::authenticationFailed);
    Q_EMIT contextChanged();
}

bool ContentViewModel::isSignedIn(const std::optional<Client>& client) {
    if (!client || !client->activeSession())
        return false;
    return !client->signIn || client->signIn->status == SignIn::Status::complete;
}

ContentViewModel::RootState ContentViewModel::stateFor(bool loaded, const std::optional<Client>& client) {
    if (!loaded)
        return RootState::Loading;
    return isSignedIn(client) ? RootState::Shell : RootState::SignedOut;
}

void ContentViewModel::refresh() {
    const std::optional<Client> client = source_.client();
    const RootState state = stateFor(source_.isLoaded(), client);
    QString userId;
    if (state == RootState::Shell) {
        const std::optional<Session> session = client->activeSession();
        if (session->user)
            userId = session->user->id;
        else if (session->publicUserData && session->publicUserData->userId)
            userId = *session->publicUserData->userId;
    }
    if (state != rootState_) {
        rootState_ = state;
        Q_EMIT rootStateChanged();
    }
    if (userId != userId_) {
        userId_ = userId;
        Q_EMIT userIdChanged();
    }
    if (state == RootState::Shell)
        onboarding_->resolve();
}

void ContentViewModel::authenticationFailed() {
    if (isRecoveringAuth_)
        return;
    const std::optional<Client> client = source_.client();
    if (!client || !client->activeSession())
        return;
    setRecovering(true);
    tasks_.spawn(recover(this),
                 async::TaskScope::ErrorHandler([this](std::exception_ptr) { setRecovering(false); }));
}

async::Task<void> ContentViewModel::recover(ContentViewModel* self) {
    bool keep = false;
    try {
        const std::optional<QString> token = co_await self->source_.currentToken();
        keep = token && !token->isEmpty();
    } catch (...) {
        keep = false;
    }
    if (!keep)
        co_await self->source_.signOut();
    self->setRecovering(false);
}

void ContentViewModel::setRecovering(bool recovering) {
    if (recovering == isRecoveringAuth_)
        return;
    isRecoveringAuth_ = recovering;
    Q_EMIT isRecoveringAuthChanged();
}
