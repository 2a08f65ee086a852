import QtQuick
import QtQuick.Controls
import DesignKit
import OrbeloModels

// The one window: the splash over the content, the menu bar, and the minimum size. The first
// frame holds only the splash and the bar's empty strip; the content loads once the app has
// launched, and the menus after it.
ApplicationWindow {
    id: window
    // The app's network monitor, set when the app has launched, after the first frame.
    property QtObject networkMonitor: null
    readonly property bool launched: networkMonitor !== null
    readonly property bool signedIn: content.item ? content.item.signedIn : false
    readonly property bool inShell: content.item ? content.item.inShell : false
    // "24:13 · Focus" while a focus interval runs, whatever section is shown.
    readonly property string focusTitle: AppFocusTimer.timer ? AppFocusTimer.timer.titleText : ""

    width: 1200
    height: 800
    minimumWidth: 1000
    minimumHeight: 700
    visible: true
    title: focusTitle.length > 0 ? focusTitle + " — Orbelo" : "Orbelo"
    color: Theme.color.background

    MenuCommands {
        id: commands
        context: AppContext
        focusItem: window.activeFocusItem
    }

    component BarBackground: Rectangle {
        implicitHeight: 32
        color: Theme.color.sidebar
        Rectangle {
            anchors.bottom: parent.bottom
            width: parent.width
            height: 1
            color: Theme.color.separator
        }
    }

    // The strip is there from the first frame, so nothing moves when the menus come into it. They
    // come once the content shows its first screen, so that building them never holds it up.
    menuBar: Loader {
        id: menus
        height: item ? item.implicitHeight : strip.implicitHeight
        active: content.status === Loader.Ready
        sourceComponent: menuBarComponent
        BarBackground {
            id: strip
            anchors.fill: parent
            visible: menus.status !== Loader.Ready
        }
    }

    Component {
        id: menuBarComponent
        MenuBar {
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
            background: BarBackground {}
            PopupMenu {
                title: "&Orbelo"
                PopupMenuItem {
                    shortcutText: "Ctrl+,"
                    action: Action {
                        text: "Settings…"
                        shortcut: "Ctrl+,"
                        enabled: window.inShell
                        onTriggered: commands.openSettings()
                    }
                }
                Action {
                    text: "Sign Out"
                    enabled: window.signedIn
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
                        enabled: window.inShell
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
    }

    // The "Go" menu's keys. Items a Repeater adds to a menu do not register shortcuts, so the
    // window holds them.
    Shortcut { sequence: "Ctrl+1"; enabled: window.inShell; onActivated: commands.selectSection(1) }
    Shortcut { sequence: "Ctrl+2"; enabled: window.inShell; onActivated: commands.selectSection(2) }
    Shortcut { sequence: "Ctrl+3"; enabled: window.inShell; onActivated: commands.selectSection(3) }
    Shortcut { sequence: "Ctrl+4"; enabled: window.inShell; onActivated: commands.selectSection(4) }
    Shortcut { sequence: "Ctrl+5"; enabled: window.inShell; onActivated: commands.selectSection(5) }
    Shortcut { sequence: "Ctrl+6"; enabled: window.inShell; onActivated: commands.selectSection(6) }
    Shortcut { sequence: "Ctrl+7"; enabled: window.inShell; onActivated: commands.selectSection(7) }

    RootSplashContainer {
        anchors.fill: parent
        // By address rather than as an inline component, so that none of the screens is compiled
        // before the first frame; asynchronously, so that the splash keeps moving meanwhile.
        Loader {
            id: content
            objectName: "content"
            anchors.fill: parent
            focus: true
            active: window.launched
            asynchronous: true
            source: "ContentView.qml"
            onLoaded: item.networkMonitor = window.networkMonitor
        }
    }
}
