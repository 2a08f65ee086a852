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
        // Menus are read by their titles without the mnemonic marker, and open on the
        // accessibility "Press" action, which Qt 6.4's menu bar items ignore.
        delegate: MenuBarItem {
            Accessible.name: text.replace("&", "")
            Accessible.onPressAction: clicked()
        }
        Menu {
            title: "&Orbelo"
            ShortcutMenuItem {
                shortcutText: "Ctrl+,"
                action: Action {
                    text: "Settings…"
                    shortcut: "Ctrl+,"
                    enabled: content.inShell
                    onTriggered: commands.openSettings()
                }
            }
            Action {
                text: "Sign Out"
                enabled: content.signedIn
                onTriggered: commands.signOut()
            }
            MenuSeparator {}
            ShortcutMenuItem {
                shortcutText: "Ctrl+Q"
                action: Action {
                    text: "Quit Orbelo"
                    shortcut: StandardKey.Quit
                    onTriggered: Qt.quit()
                }
            }
        }
        Menu {
            title: "&View"
            ShortcutMenuItem {
                shortcutText: "Ctrl+R"
                action: Action {
                    text: "Refresh"
                    shortcut: "Ctrl+R"
                    enabled: commands.canRefresh
                    onTriggered: commands.refresh()
                }
            }
        }
        Menu {
            id: goMenu
            title: "&Go"
            Repeater {
                model: commands.goItems
                delegate: ShortcutMenuItem {
                    required property var modelData
                    text: modelData.label
                    shortcutText: "Ctrl+" + modelData.number
                    enabled: content.inShell
                    onTriggered: commands.selectSection(modelData.number)
                }
            }
        }
        Menu {
            title: "&Help"
            ShortcutMenuItem {
                shortcutText: "F1"
                action: Action {
                    text: "Orbelo Help"
                    shortcut: StandardKey.HelpContents
                    onTriggered: commands.openHelp()
                }
            }
        }
    }

    // The "Go" menu's keys. Items a Repeater adds to a menu do not register shortcuts, so the
    // window holds them.
    Shortcut { sequence: "Ctrl+1"; enabled: content.inShell; onActivated: commands.selectSection(1) }
    Shortcut { sequence: "Ctrl+2"; enabled: content.inShell; onActivated: commands.selectSection(2) }
    Shortcut { sequence: "Ctrl+3"; enabled: content.inShell; onActivated: commands.selectSection(3) }
    Shortcut { sequence: "Ctrl+4"; enabled: content.inShell; onActivated: commands.selectSection(4) }
    Shortcut { sequence: "Ctrl+5"; enabled: content.inShell; onActivated: commands.selectSection(5) }
    Shortcut { sequence: "Ctrl+6"; enabled: content.inShell; onActivated: commands.selectSection(6) }
    Shortcut { sequence: "Ctrl+7"; enabled: content.inShell; onActivated: commands.selectSection(7) }

    RootSplashContainer {
        anchors.fill: parent
        ContentView {
            id: content
            anchors.fill: parent
            networkMonitor: window.networkMonitor
        }
    }
}
