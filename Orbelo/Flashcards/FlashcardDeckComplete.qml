import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit

// The end of a deck: every card has been reviewed. Back, Enter or Escape return to the setup.
FocusScope {
    id: view
    signal backRequested()

    Keys.onEscapePressed: view.backRequested()
    Keys.onReturnPressed: view.backRequested()
    Keys.onEnterPressed: view.backRequested()

    ColumnLayout {
        anchors.centerIn: parent
        width: Math.min(parent.width - Theme.spacing.xxl * 2, 420)
        spacing: Theme.spacing.l
        EmptyStateView {
            Layout.fillWidth: true
            Layout.preferredHeight: 200
            symbol: "checkmark"
            title: "All caught up"
            message: "You've reviewed every card in this deck."
        }
        PrimaryButton {
            Layout.alignment: Qt.AlignHCenter
            text: "Back"
            focus: true
            Accessible.description: "Returns to the deck setup. Shortcut: Enter or Escape."
            ToolTip.visible: hovered
            ToolTip.text: "Back (Enter or Esc)"
            onClicked: view.backRequested()
        }
    }
}
