import QtQuick
import QtQuick.Controls
import DesignKit
import OrbeloModels

// The one window: the splash over the content, the menu bar, and the minimum size.
ApplicationWindow {
    id: window
    required property QtObject networkMonitor

    width: 1200
    height: 800
    minimumWidth: 1000
    minimumHeight: 700
    visible: true
    title: "Orbelo"
    color: Theme.color.background

    OrbeloMacCommands { id: commands }

    menuBar: MenuBar {
        Menu {
            title: "&Orbelo"
            Action {
                text: "Settings…"
                shortcut: "Ctrl+,"
                onTriggered: commands.openSettings()
            }
            Action {
                text: "Sign Out"
                enabled: content.signedIn
                onTriggered: commands.signOut()
            }
            MenuSeparator {}
            Action {
                text: "Quit Orbelo"
                shortcut: StandardKey.Quit
                onTriggered: Qt.quit()
            }
        }
        Menu {
            title: "&View"
            Action {
                text: "Refresh"
                shortcut: "Ctrl+R"
                enabled: commands.canRefresh
                onTriggered: commands.refresh()
            }
        }
        Menu {
            id: goMenu
            title: "&Go"
            Repeater {
                model: commands.goItems
                delegate: MenuItem {
                    required property var modelData
                    action: Action {
                        text: modelData.label
                        shortcut: "Ctrl+" + modelData.number
                        enabled: content.signedIn
                        onTriggered: commands.selectSection(modelData.number)
                    }
                }
            }
        }
        Menu {
            title: "&Help"
            Action {
                text: "Orbelo Help"
                onTriggered: commands.openHelp()
            }
        }
    }

    RootSplashContainer {
        anchors.fill: parent
        ContentView {
            id: content
            anchors.fill: parent
            networkMonitor: window.networkMonitor
        }
    }
}
