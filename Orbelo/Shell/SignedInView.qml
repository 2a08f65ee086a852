import QtQuick

// The signed-in window: the shell, under the onboarding questionnaire while this user still has
// it to do, and the one-time interest prompt. A file of its own, loaded by address, so that the
// loading and sign-in screens compile none of the shell's screens.
Item {
    id: view
    property QtObject networkMonitor
    // The onboarding decision (OnboardingGate).
    property QtObject onboarding

    RootShell {
        anchors.fill: parent
        visible: !view.onboarding.showOnboarding
        networkMonitor: view.networkMonitor
        onboarding: view.onboarding
    }
    Loader {
        anchors.fill: parent
        active: view.onboarding.showOnboarding
        focus: active
        sourceComponent: OnboardingView {
            // The flow goes away with this, so not while its signal is still being handled.
            onFinished: (openLibrary) => Qt.callLater(() => view.onboarding.complete(openLibrary))
        }
    }

    // Offered once to a user whose onboarding is done; closing it either way marks it offered.
    InterestEditorSheet {
        prompt: true
        shown: view.onboarding.showInterestsPrompt
        onDismissed: view.onboarding.showInterestsPrompt = false
    }
}
