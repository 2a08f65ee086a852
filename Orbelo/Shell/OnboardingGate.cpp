#include "Shell/OnboardingGate.h"

#include "PreferencesStore.h"

OnboardingGate::OnboardingGate(ProfileFetch fetchProfile, PreferencesStore& preferences, QObject* parent)
    : QObject(parent), fetchProfile_(std::move(fetchProfile)), preferences_(preferences) {}

void OnboardingGate::setShowInterestsPrompt(bool show) {
    if (show == showInterestsPrompt_)
        return;
    showInterestsPrompt_ = show;
    Q_EMIT changed();
}

void OnboardingGate::setPendingOnboardingLibraryDeepLink(bool pending) {
    if (pending == pendingLibraryDeepLink_)
        return;
    pendingLibraryDeepLink_ = pending;
    Q_EMIT changed();
}

void OnboardingGate::resolve() {
    if (onboardingResolved_ || tasks_.isRunning(decision_))
        return;
    if (preferences_.boolValue(completedKey)) {
        finish(true);
        return;
    }
    // Any failure of the profile request counts as "not completed"; nothing is reported.
    decision_ = tasks_.spawn(decide(this),
                             async::TaskScope::ErrorHandler([this](std::exception_ptr) { finish(false); }));
}

async::Task<void> OnboardingGate::decide(OnboardingGate* self) {
    const UserProfileResponse profile = co_await self->fetchProfile_();
    const bool completed = profile.hasCompletedOnboarding.value_or(false);
    if (completed)
        self->preferences_.setValue(completedKey, true);
    self->finish(completed);
}

void OnboardingGate::finish(bool completed) {
    if (completed)
        checkInterests();
    else
        showOnboarding_ = true;
    onboardingResolved_ = true;
    Q_EMIT changed();
}

void OnboardingGate::checkInterests() {
    if (!preferences_.boolValue(interestsPromptedKey))
        showInterestsPrompt_ = true;
}

void OnboardingGate::complete(bool openLibrary) {
    showOnboarding_ = false;
    preferences_.setValue(completedKey, true);
    pendingLibraryDeepLink_ = openLibrary;
    preferences_.setValue(interestsPromptedKey, true);
    Q_EMIT changed();
}
