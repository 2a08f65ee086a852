import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit
import OrbeloModels

// The settings screen, shown as the Settings section and as the account menu's sheet: Account,
// Profile, Appearance, Study Reminders, Support & Legal and Danger Zone. Tab walks every control; rows act on
// Enter or Space.
ScrollView {
    id: view
    // The sheet puts its own title above; the section already has the shell's heading.
    property bool showsTitle: false

    contentWidth: availableWidth
    clip: true

    FocusReveal { view: view }
    SettingsModel { id: settings }
    DiscoverabilityModel { id: directory }
    Component.onCompleted: directory.load()
    // View → Refresh: the school and the directory switch as the server has them now.
    Refreshable.onRequested: {
        university.model.load()
        directory.load()
    }

    ColumnLayout {
        width: Math.min(view.availableWidth - Theme.spacing.xxl * 2, 720)
        x: Theme.spacing.xxl
        spacing: Theme.spacing.xl

        Item { Layout.preferredHeight: Theme.spacing.xs }

        RowLayout {
            Layout.fillWidth: true
            Text {
                Layout.fillWidth: true
                text: view.showsTitle ? "Settings" : ""
                color: Theme.color.textPrimary
                font.pixelSize: Theme.font.title
                font.weight: Font.Bold
                Accessible.role: Accessible.Heading
                Accessible.name: text
                Accessible.ignored: !view.showsTitle
            }
            RefreshButton {
                plain: true
                onClicked: view.Refreshable.requested()
            }
        }

        SettingsSection {
            Layout.fillWidth: true
            title: "Account"
            SettingsRow {
                text: "Email"
                symbol: "envelope"
                value: settings.email
                interactive: false
            }
            SettingsRow {
                text: "Sign Out"
                symbol: "rectangle.portrait.and.arrow.right"
                trailing: ""
                enabled: !settings.isSigningOut
                onClicked: settings.signOut()
            }
        }

        SettingsSection {
            Layout.fillWidth: true
            title: "Profile"
            SettingsRow {
                text: "Interests"
                symbol: "heart"
                detail: "What you're into, so explanations and mnemonics build on it"
                onClicked: interests.shown = true
            }
            UniversityPicker {
                id: university
                Layout.fillWidth: true
                onChanged: directory.load()
            }
            RowLayout {
                Layout.fillWidth: true
                Layout.leftMargin: Theme.spacing.l
                Layout.rightMargin: Theme.spacing.l
                Layout.topMargin: Theme.spacing.s
                Layout.bottomMargin: Theme.spacing.m
                spacing: Theme.spacing.m
                SymbolIcon {
                    symbol: "person.2"
                    tint: Theme.color.accent
                    size: 18
                    Layout.preferredWidth: 18
                    Layout.preferredHeight: 18
                }
                ColumnLayout {
                    Layout.fillWidth: true
                    spacing: Theme.spacing.xxs
                    Text {
                        Layout.fillWidth: true
                        text: "Show me in my school's directory"
                        color: Theme.color.textPrimary
                        font.pixelSize: Theme.font.body
                        font.weight: Font.Medium
                    }
                    Text {
                        Layout.fillWidth: true
                        text: directory.hasUniversity || !directory.isLoaded
                              ? "Schoolmates can find you and invite you to study together."
                              : "Choose your school first."
                        color: Theme.color.textSecondary
                        font.pixelSize: Theme.font.caption
                        wrapMode: Text.WordWrap
                    }
                }
                Switch {
                    id: discoverable
                    checked: directory.isSchoolDiscoverable
                    enabled: directory.isLoaded && directory.hasUniversity && !directory.isUpdating
                    palette.dark: Theme.color.accent // the track when on
                    Accessible.name: "Show me in my school's directory"
                    Accessible.description: "Lets schoolmates find you in the school directory"
                    onToggled: directory.setDiscoverable(checked)
                    Accessible.onPressAction: if (enabled) directory.setDiscoverable(!checked)
                    Accessible.onToggleAction: if (enabled) directory.setDiscoverable(!checked)
                    // The model owns the state: keep the switch on it after a refused change.
                    Connections {
                        target: directory
                        function onChanged() { discoverable.checked = directory.isSchoolDiscoverable }
                    }
                }
            }
            InlineErrorView {
                Layout.fillWidth: true
                Layout.margins: Theme.spacing.m
                Layout.topMargin: 0
                message: directory.errorMessage
            }
        }

        AppearanceSection { Layout.fillWidth: true }

        StudyRemindersSection { Layout.fillWidth: true }

        SettingsSection {
            Layout.fillWidth: true
            title: "Support & Legal"
            SettingsRow {
                text: "Contact Support"
                symbol: "lifepreserver"
                trailing: "external"
                onClicked: settings.openLink(settings.contactSupportURL)
            }
            SettingsRow {
                text: "Email Us"
                symbol: "envelope"
                value: settings.supportEmail
                trailing: "external"
                onClicked: settings.openLink(settings.emailUsURL)
            }
            SettingsRow {
                text: "Terms of Use"
                symbol: "doc.text"
                trailing: "external"
                onClicked: settings.openLink(settings.termsURL)
            }
            SettingsRow {
                text: "Privacy Policy"
                symbol: "hand.raised"
                trailing: "external"
                onClicked: settings.openLink(settings.privacyURL)
            }
        }

        SettingsSection {
            Layout.fillWidth: true
            title: "Danger Zone"
            danger: true
            SettingsRow {
                text: "Delete Account"
                symbol: "trash"
                danger: true
                trailing: ""
                detail: "Permanently removes your courses, documents and study history."
                enabled: !settings.isDeletingAccount
                onClicked: confirmDelete.open()
            }
            InlineErrorView {
                Layout.fillWidth: true
                Layout.margins: Theme.spacing.m
                Layout.topMargin: 0
                message: settings.deletionMessage
            }
        }

        Item { Layout.preferredHeight: Theme.spacing.xl }
    }

    InterestEditorSheet {
        id: interests
        onDismissed: shown = false
    }

    DeleteAccountDialog {
        id: confirmDelete
        onConfirmed: settings.deleteAccount()
    }
}
