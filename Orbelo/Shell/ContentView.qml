import QtQuick
import OrbeloModels

// Fills the window with the loading screen, the sign-in screen or the shell (with onboarding
// over it the first time).
Item {
    id: view
    property QtObject networkMonitor
    readonly property bool signedIn: model.rootState === ContentViewModel.Shell
    // The shell is in use: signed in and not under the onboarding questions.
    readonly property bool inShell: signedIn && !model.onboarding.showOnboarding

    ContentViewModel { id: model }

    Loader {
        anchors.fill: parent
        sourceComponent: model.rootState === ContentViewModel.Loading ? loading
                       : model.rootState === ContentViewModel.SignedOut ? signIn : shell
        onLoaded: if (model.rootState === ContentViewModel.SignedOut) StartupExit.signInShown()
    }

    // Offered once to a user whose onboarding is done; closing it either way marks it offered.
    InterestEditorSheet {
        prompt: true
        shown: view.signedIn && model.onboarding.showInterestsPrompt
        onDismissed: model.onboarding.showInterestsPrompt = false
    }

    Component { id: loading; LoadingView {} }
    Component { id: signIn; SignInView {} }
    // The shell, under the onboarding questionnaire while this user still has it to do.
    Component {
        id: shell
        Item {
            RootShell {
                anchors.fill: parent
                visible: !model.onboarding.showOnboarding
                networkMonitor: view.networkMonitor
                onboarding: model.onboarding
            }
            Loader {
                anchors.fill: parent
                active: model.onboarding.showOnboarding
                focus: active
                sourceComponent: OnboardingView {
                    // The flow goes away with this, so not while its signal is still being handled.
                    onFinished: (openLibrary) => Qt.callLater(() => model.onboarding.complete(openLibrary))
                }
            }
        }
    }
}
