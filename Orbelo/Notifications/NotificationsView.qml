import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit
import OrbeloModels

// The notifications inbox, as the Notifications tab and inside the account menu's sheet: the list
// with "Mark all read", the loading rows, "Nothing new", and the failure with "Try again".
Item {
    id: view
    // The sheet shows its own title; the tab has the shell's heading.
    property bool showsTitle: false
    // A notification was opened and routed.
    signal opened()

    // Its own inbox on the app's backend unless given one.
    property NotificationsModel inbox: NotificationsModel {
        context: AppContext
    }
    Connections {
        target: view.inbox
        function onOpened() { view.opened() }
    }

    Refreshable.onRequested: view.inbox.load()
    Refreshable.enabled: !view.inbox.isLoading
    Component.onCompleted: view.inbox.load()
    function sectionShown() { view.inbox.load() }

    ColumnLayout {
        anchors.fill: parent
        anchors.leftMargin: view.showsTitle ? 0 : Theme.spacing.xxl
        anchors.rightMargin: view.showsTitle ? 0 : Theme.spacing.xxl
        anchors.topMargin: view.showsTitle ? 0 : Theme.spacing.l
        anchors.bottomMargin: view.showsTitle ? 0 : Theme.spacing.l
        spacing: Theme.spacing.m

        RowLayout {
            Layout.fillWidth: true
            Text {
                Layout.fillWidth: true
                visible: view.showsTitle
                text: "Notifications"
                color: Theme.color.textPrimary
                font.pixelSize: Theme.font.title
                font.weight: Font.Bold
                Accessible.role: Accessible.Heading
                Accessible.name: text
            }
            Item {
                Layout.fillWidth: true
                visible: !view.showsTitle
            }
            RefreshButton {
                plain: true
                enabled: view.Refreshable.enabled
                onClicked: view.Refreshable.requested()
            }
            SecondaryButton {
                plain: true
                text: "Mark all read"
                enabled: view.inbox.hasUnread
                Accessible.description: "Marks every notification read"
                onClicked: view.inbox.markAllRead()
            }
        }
        InlineErrorView {
            Layout.fillWidth: true
            message: view.inbox.showsFailure ? "" : view.inbox.errorMessage
        }

        Item {
            Layout.fillWidth: true
            Layout.fillHeight: true

            ListView {
                id: list
                objectName: "notificationsList"
                anchors.fill: parent
                clip: true
                spacing: Theme.spacing.xxs
                model: view.inbox.rows
                keyNavigationEnabled: true
                boundsBehavior: Flickable.StopAtBounds
                Accessible.role: Accessible.List
                Accessible.name: "Notifications"
                ScrollBar.vertical: ScrollBar {}
                delegate: NotificationRow {
                    width: ListView.view.width
                    onOpenRequested: view.inbox.open(index)
                }
            }
            SkeletonRows {
                anchors.left: parent.left
                anchors.right: parent.right
                visible: view.inbox.isLoading && list.count === 0
            }
            EmptyStateView {
                anchors.fill: parent
                visible: view.inbox.showsEmpty
                symbol: "bell"
                title: "Nothing new"
                message: "Quiz results, practice nudges and study reminders will show up here."
            }
            ColumnLayout {
                anchors.centerIn: parent
                width: Math.min(parent.width, 420)
                visible: view.inbox.showsFailure
                spacing: Theme.spacing.l
                EmptyStateView {
                    Layout.fillWidth: true
                    Layout.preferredHeight: 180
                    symbol: "exclamationmark.triangle"
                    title: "Couldn't load notifications"
                }
                PrimaryButton {
                    Layout.alignment: Qt.AlignHCenter
                    text: "Try again"
                    onClicked: view.inbox.load()
                    Keys.onReturnPressed: view.inbox.load()
                }
            }
        }
    }
}
