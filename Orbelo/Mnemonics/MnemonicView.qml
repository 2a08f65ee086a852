import QtQuick
import QtQuick.Layouts
import DesignKit

// A mnemonic and, when it has one, the explanation of why it works.
ColumnLayout {
    id: view
    property string text
    property string explanation

    spacing: Theme.spacing.m

    MnemonicContentView {
        Layout.fillWidth: true
        text: view.text
    }

    Text {
        Layout.fillWidth: true
        visible: view.explanation.length > 0
        text: "Why it works"
        color: Theme.color.textPrimary
        font.pixelSize: Theme.font.headline
        font.weight: Font.DemiBold
        Accessible.role: Accessible.Heading
        Accessible.name: text
    }
    Text {
        Layout.fillWidth: true
        visible: view.explanation.length > 0
        text: view.explanation
        wrapMode: Text.Wrap
        color: Theme.color.textSecondary
        font.pixelSize: Theme.font.body
        Accessible.role: Accessible.StaticText
        Accessible.name: text
    }
}
