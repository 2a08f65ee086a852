import QtQuick
import OrbeloModels

// Fills the window with the loading screen, the sign-in screen or the signed-in view (the shell,
// with onboarding over it the first time).
Item {
    id: view
    property QtObject networkMonitor
    readonly property bool signedIn: model.rootState === ContentViewModel.Shell
    // The shell is in use: signed in and not under the onboarding questions.
    readonly property bool inShell: signedIn && !model.onboarding.showOnboarding

    ContentViewModel {
        id: model
        context: AppContext
    }

    Loader {
        id: screen
        anchors.fill: parent
        sourceComponent: model.rootState === ContentViewModel.Loading ? loading
                       : model.rootState === ContentViewModel.SignedOut ? signIn : shell
        onLoaded: if (model.rootState === ContentViewModel.SignedOut) StartupExit.signInShown()
    }

    Component { id: loading; LoadingView {} }
    Component { id: signIn; SignInView {} }
    // The shell by address: the signed-in screens compile when someone signs in, not before.
    Component {
        id: shell
        Loader {
            Component.onCompleted: setSource("SignedInView.qml", {onboarding: model.onboarding})
            onLoaded: item.networkMonitor = Qt.binding(() => view.networkMonitor)
        }
    }
}
