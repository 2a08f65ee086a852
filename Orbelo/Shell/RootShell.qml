import QtQuick
import QtQuick.Layouts
import DesignKit
import OrbeloModels

// The signed-in window: the sidebar and the selected section's screen, with the offline banner
// along the top edge while the machine is offline.
Item {
    id: shell
    property QtObject networkMonitor
    // The onboarding decision; its Library request is followed once, then cleared.
    property QtObject onboarding
    readonly property bool offline: networkMonitor !== null && !networkMonitor.isOnline

    RootShellModel {
        id: model
        onboarding: shell.onboarding
    }
    UpdateBannerModel { id: updates }
    // A click on a pushed notification opens it here, whether it started the app or not.
    PushedNotificationOpener {}

    Component.onCompleted: updates.appear()

    RowLayout {
        anchors.fill: parent
        spacing: 0

        RootSidebar {
            Layout.preferredWidth: 232
            Layout.fillHeight: true
            shell: model
        }
        Rectangle {
            Layout.preferredWidth: 1
            Layout.fillHeight: true
            color: Theme.color.separator
        }

        Rectangle {
            Layout.fillWidth: true
            Layout.fillHeight: true
            color: Theme.color.background
            clip: true

            OfflineBanner {
                id: banner
                objectName: "offlineBanner"
                width: parent.width
                y: shell.offline ? 0 : -height
                opacity: shell.offline ? 1 : 0
                visible: opacity > 0
                z: 1
                Behavior on y { NumberAnimation { duration: Theme.motion.standard; easing.type: Easing.OutCubic } }
                Behavior on opacity { NumberAnimation { duration: Theme.motion.standard } }
            }

            ColumnLayout {
                anchors.fill: parent
                anchors.topMargin: shell.offline ? banner.height : 0
                spacing: 0

                UpdateBanner {
                    objectName: "updateBanner"
                    Layout.fillWidth: true
                    visible: updates.showsBanner
                    version: updates.availableVersion
                    notes: updates.releaseNotes
                    canDismiss: updates.canDismiss
                    onDownloadRequested: updates.download()
                    onDismissed: updates.later()
                }

                RowLayout {
                    Layout.fillWidth: true
                    Layout.leftMargin: Theme.spacing.xxl
                    Layout.rightMargin: Theme.spacing.l
                    Layout.topMargin: Theme.spacing.l
                    Text {
                        Layout.fillWidth: true
                        text: model.selectedLabel
                        color: Theme.color.textPrimary
                        font.pixelSize: Theme.font.largeTitle
                        font.weight: Font.Bold
                        Accessible.role: Accessible.Heading
                        Accessible.name: text
                    }
                    AccountToolbarItem {}
                }

                Loader {
                    Layout.fillWidth: true
                    Layout.fillHeight: true
                    sourceComponent: model.selectedTab === 7 ? settingsScreen
                                     : model.selectedTab === 4 ? libraryScreen
                                     : model.selectedTab === 0 ? studyScreen
                                     : model.selectedTab === 1 ? forYouScreen
                                     : model.selectedTab === 2 ? cardsScreen
                                     : model.selectedTab === 3 ? quizScreen
                                     : model.selectedTab === 5 ? rewardsScreen : notificationsScreen
                }
                Component { id: notificationsScreen; NotificationsView {} }
                Component { id: settingsScreen; SettingsView {} }
                Component { id: libraryScreen; LibraryScreen {} }
                Component { id: studyScreen; StudyScreen {} }
                Component {
                    id: forYouScreen
                    ForYouView { onLibraryRequested: model.selectedTab = 4 }
                }
                Component { id: cardsScreen; FlashcardsScreen {} }
                Component { id: quizScreen; QuizScreen {} }
                Component { id: rewardsScreen; RewardsView {} }
            }
        }
    }
}
