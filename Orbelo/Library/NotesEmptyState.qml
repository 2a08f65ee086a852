import QtQuick
import QtQuick.Layouts
import DesignKit

// What the notes screen shows before there are notes: what generating makes, how long it can
// take, and the button that starts it.
ColumnLayout {
    id: empty
    property bool generating: false
    signal generate()

    spacing: Theme.spacing.m

    EmptyStateView {
        Layout.fillWidth: true
        Layout.preferredHeight: implicitHeight
        implicitHeight: 200
        symbol: "doc.text"
        title: "No notes yet"
        message: "Generate study notes from this document — a summary, key concepts, and key terms."
    }
    Text {
        Layout.fillWidth: true
        text: "Large documents can take up to 30 seconds."
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.WordWrap
        color: Theme.color.textTertiary
        font.pixelSize: Theme.font.callout
        Accessible.role: Accessible.StaticText
        Accessible.name: text
    }
    PrimaryButton {
        Layout.alignment: Qt.AlignHCenter
        text: empty.generating ? "Generating…" : "Generate notes"
        symbol: "sparkles"
        enabled: !empty.generating
        Accessible.description: "Makes a summary, key concepts and key terms from this document."
        onClicked: empty.generate()
    }
}
