#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "TaskScope.h"
#include "User/UserProfileResponse.h"

#include <functional>

class PreferencesStore;

// Whether the signed-in user goes through onboarding first, decided once per window: from the
// preference when this installation has seen it completed, else from the profile (a failed request
// counts as not completed). Also whether to offer the interest picker.
class OnboardingGate : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool showOnboarding READ showOnboarding NOTIFY changed)
    Q_PROPERTY(bool showInterestsPrompt READ showInterestsPrompt WRITE setShowInterestsPrompt NOTIFY changed)
    Q_PROPERTY(bool onboardingResolved READ onboardingResolved NOTIFY changed)
    Q_PROPERTY(bool pendingOnboardingLibraryDeepLink READ pendingOnboardingLibraryDeepLink WRITE
                   setPendingOnboardingLibraryDeepLink NOTIFY changed)
public:
    static inline const QString completedKey = QStringLiteral("orbelo.onboarding.v2.completed");
    static inline const QString interestsPromptedKey = QStringLiteral("orbelo.interests.v1.prompted");

    using ProfileFetch = std::function<async::Task<UserProfileResponse>()>;

    // `fetchProfile` is "GET /api/user/profile" with the app's client; `preferences` outlives the gate.
    OnboardingGate(ProfileFetch fetchProfile, PreferencesStore& preferences, QObject* parent = nullptr);

    bool showOnboarding() const { return showOnboarding_; }
    bool showInterestsPrompt() const { return showInterestsPrompt_; }
    void setShowInterestsPrompt(bool show);
    bool onboardingResolved() const { return onboardingResolved_; }
    bool pendingOnboardingLibraryDeepLink() const { return pendingLibraryDeepLink_; }
    void setPendingOnboardingLibraryDeepLink(bool pending);

    // Called when the shell appears for a user; does nothing once the decision is made.
    Q_INVOKABLE void resolve();
    // The onboarding flow ended; `openLibrary` asks for the Library next.
    Q_INVOKABLE void complete(bool openLibrary);

Q_SIGNALS:
    void changed();

private:
    static async::Task<void> decide(OnboardingGate* self);
    void finish(bool completed);
    void checkInterests();

    ProfileFetch fetchProfile_;
    PreferencesStore& preferences_;
    bool showOnboarding_ = false;
    bool showInterestsPrompt_ = false;
    bool onboardingResolved_ = false;
    bool pendingLibraryDeepLink_ = false;
    async::TaskScope::TaskId decision_ = 0;
    async::TaskScope tasks_; // last: tasks end before what they use
};
