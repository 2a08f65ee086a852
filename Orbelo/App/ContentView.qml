import QtQuick
import OrbeloModels

// Fills the window with the loading screen, the sign-in screen or the shell.
Item {
    id: view
    property QtObject networkMonitor
    readonly property bool signedIn: model.rootState === ContentViewModel.Shell

    ContentViewModel { id: model }

    Loader {
        anchors.fill: parent
        sourceComponent: model.rootState === ContentViewModel.Loading ? loading
                       : model.rootState === ContentViewModel.SignedOut ? signIn : shell
    }

    Component { id: loading; LoadingView {} }
    Component { id: signIn; SignInView {} }
    Component { id: shell; RootShell { networkMonitor: view.networkMonitor } }
}
