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

    MenuCommands {
        id: commands
        focusItem: window.activeFocusItem
    }

    menuBar: MenuBar {
        // Menus are read by their titles without the mnemonic marker, and open on the
        // accessibility "Press" action, which Qt 6.4's menu bar items ignore.
        delegate: MenuBarItem {
            id: barItem
            Accessible.name: text.replace("&", "")
            Accessible.onPressAction: clicked()
            leftPadding: Theme.spacing.m
            rightPadding: Theme.spacing.m
            topInset: 3
            bottomInset: 3
            font.pixelSize: Theme.font.callout
            palette.buttonText: highlighted ? Theme.color.accent : Theme.color.textPrimary
            background: Rectangle {
                radius: Theme.radius.small
                color: barItem.highlighted ? Theme.color.accentSoft : "transparent"
            }
        }
        background: Rectangle {
            implicitHeight: 32
            color: Theme.color.sidebar
            Rectangle {
                anchors.bottom: parent.bottom
                width: parent.width
                height: 1
                color: Theme.color.separator
            }
        }
        PopupMenu {
            title: "&Orbelo"
            PopupMenuItem {
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
            PopupMenuSeparator {}
            PopupMenuItem {
                shortcutText: "Ctrl+Q"
                action: Action {
                    text: "Quit Orbelo"
                    shortcut: StandardKey.Quit
                    onTriggered: Qt.quit()
                }
            }
        }
        PopupMenu {
            title: "&View"
            PopupMenuItem {
                shortcutText: "Ctrl+R"
                action: Action {
                    text: "Refresh"
                    shortcut: "Ctrl+R"
                    enabled: commands.canRefresh
                    onTriggered: commands.refresh()
                }
            }
        }
        PopupMenu {
            id: goMenu
            title: "&Go"
            Repeater {
                model: commands.goItems
                delegate: PopupMenuItem {
                    required property var modelData
                    text: modelData.label
                    shortcutText: "Ctrl+" + modelData.number
                    enabled: content.inShell
                    onTriggered: commands.selectSection(modelData.number)
                }
            }
        }
        PopupMenu {
            title: "&Help"
            PopupMenuItem {
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
