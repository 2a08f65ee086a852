import QtQuick
import QtQuick.Controls
import DesignKit
import OrbeloModels

// The account menu: the signed-in name with an initials badge (and the Scholar Badge when owned),
// and Notifications, Rewards, Settings and Sign out. The first three open their screens as sheets.
ToolButton {
    id: button

    AccountToolbarModel {
        id: account
        context: AppContext
        unreadCount: NotificationsBadge.unreadCount
    }
    // The count is fetched again at most every 30 seconds, however often the menu opens.
    Component.onCompleted: NotificationsBadge.refresh(false)

    implicitHeight: 40
    hoverEnabled: true
    Accessible.name: account.accessibleLabel
    Accessible.description: "Opens the account menu"
    // Qt 6.4's buttons and menu items ignore the accessibility "Press" action; each handles it here.
    Accessible.onPressAction: openMenu()
    onClicked: openMenu()

    function openMenu() {
        NotificationsBadge.refresh(false)
        menu.open()
    }

    contentItem: Row {
        spacing: Theme.spacing.s
        Rectangle {
            anchors.verticalCenter: parent.verticalCenter
            width: 28
            height: 28
            radius: 14
            color: Theme.color.accent
            Text {
                anchors.centerIn: parent
                text: account.initials
                color: Theme.color.textOnAccent
                font.pixelSize: Theme.font.caption
                font.weight: Font.Bold
            }
        }
        Text {
            anchors.verticalCenter: parent.verticalCenter
            text: account.displayName
            color: Theme.color.textPrimary
            font.pixelSize: Theme.font.body
            font.weight: Font.Medium
        }
        // The Scholar Badge; the button's name says it too.
        Rectangle {
            anchors.verticalCenter: parent.verticalCenter
            visible: account.badgeText.length > 0
            width: badgeLabel.implicitWidth + Theme.spacing.s * 2
            height: badgeLabel.implicitHeight + Theme.spacing.xxs * 2
            radius: height / 2
            color: Theme.color.accent
            Text {
                id: badgeLabel
                anchors.centerIn: parent
                text: account.badgeText
                color: Theme.color.textOnAccent
                font.pixelSize: Theme.font.caption
                font.weight: Font.Bold
            }
        }
    }
    background: Rectangle {
        radius: Theme.radius.pill
        color: button.hovered || menu.visible ? Theme.color.raised : "transparent"
        border.width: button.visualFocus ? 2 : 0
        border.color: Theme.color.focusRing
    }

    PopupMenu {
        id: menu
        y: button.height + Theme.spacing.xs
        x: button.width - width
        PopupMenuItem {
            text: account.notificationsTitle
            symbol: "bell.badge"
            onTriggered: account.showNotifications = true
        }
        PopupMenuItem {
            text: "Rewards"
            symbol: "gift.fill"
            onTriggered: account.showRewards = true
        }
        PopupMenuItem {
            text: "Settings"
            symbol: "gearshape"
            onTriggered: account.showSettings = true
        }
        PopupMenuSeparator {}
        PopupMenuItem {
            text: "Sign out"
            symbol: "rectangle.portrait.and.arrow.right"
            enabled: !account.isSigningOut
            onTriggered: account.signOut()
        }
    }

    NotificationsSheet {
        shown: account.showNotifications
        onDismissed: account.showNotifications = false
    }
    RewardsSheet {
        shown: account.showRewards
        onDismissed: account.showRewards = false
    }
    SettingsSheet {
        shown: account.showSettings
        onDismissed: account.showSettings = false
    }
}
