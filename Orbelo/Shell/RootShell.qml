import QtQuick
import QtQuick.Layouts
import QtQuick.Window
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
        context: AppContext
        onboarding: shell.onboarding
    }
    UpdateBannerModel { id: updates }
    // A click on a pushed notification opens it here, whether it started the app or not.
    PushedNotificationOpener {
        context: AppContext
    }

    Component.onCompleted: updates.appear()

    // One section of the sidebar. Coming back puts the keyboard focus where it was in the section,
    // or on the section itself.
    component KeptSection: Loader {
        id: section
        required property int tab
        readonly property bool shown: model.selectedTab === tab
        // Kept once loaded: the section then lives as long as the shell.
        property bool kept: false
        property Item lastFocus: null
        property bool wasHidden: false

        anchors.fill: parent
        active: shown || kept
        visible: shown
        onLoaded: kept = true
        onShownChanged: {
            if (!shown) {
                wasHidden = true
                // A hidden item may keep the active focus, and with it the keys.
                if (holds(Window.activeFocusItem))
                    section.parent.forceActiveFocus(Qt.OtherFocusReason)
                return
            }
            // What other sections change (credits, courses) is fetched again by a screen that
            // defines sectionShown(); its user's place and work stay.
            if (wasHidden && item && typeof item.sectionShown === "function")
                item.sectionShown()
            Qt.callLater(section.restoreFocus)
        }

        function holds(candidate) {
            for (let it = candidate; it; it = it.parent)
                if (it === section)
                    return true
            return false
        }
        function restoreFocus() {
            // Not while the shell itself is hidden (under onboarding): the focus is not ours.
            if (!section.visible || !item || holds(Window.activeFocusItem))
                return
            if (lastFocus && lastFocus.visible && holds(lastFocus))
                lastFocus.forceActiveFocus(Qt.OtherFocusReason)
            else
                item.forceActiveFocus(Qt.OtherFocusReason)
        }
        Connections {
            target: section.Window.window
            function onActiveFocusItemChanged() {
                const focused = section.Window.activeFocusItem
                if (section.shown && focused && section.holds(focused))
                    section.lastFocus = focused
            }
        }
    }

    // Asks before a sign-out from any menu throws away what a section holds.
    StudyConfirmDialog {
        id: signOutQuestion
        objectName: "signOutQuestion"
        title: SignOutConfirmation.title
        message: SignOutConfirmation.message
        actionText: "Sign Out"
        onConfirmed: SignOutConfirmation.confirm()
        onCancelled: SignOutConfirmation.cancel()
        Connections {
            target: SignOutConfirmation
            function onQuestionChanged() {
                if (SignOutConfirmation.isAsking)
                    signOutQuestion.open()
                else
                    signOutQuestion.close()
            }
        }
    }

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

                // Each section is created on its first visit and kept: a test half answered, an
                // upload, the place in a list are there when the student comes back. A hidden
                // section is invisible, so it has no focus, no keys and no Refresh; its requests
                // still land in it.
                Item {
                    Layout.fillWidth: true
                    Layout.fillHeight: true

                    KeptSection { tab: 0; sourceComponent: studyScreen }
                    KeptSection { tab: 1; sourceComponent: forYouScreen }
                    KeptSection { tab: 2; sourceComponent: cardsScreen }
                    KeptSection { tab: 3; sourceComponent: quizScreen }
                    KeptSection { tab: 4; sourceComponent: libraryScreen }
                    KeptSection { tab: 5; sourceComponent: rewardsScreen }
                    KeptSection { tab: 6; sourceComponent: notificationsScreen }
                    KeptSection { tab: 7; sourceComponent: settingsScreen }
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
