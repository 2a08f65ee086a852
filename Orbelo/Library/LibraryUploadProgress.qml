import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit

// The running upload: its file, the hint about large files, how far it is, and "Cancel upload".
Rectangle {
    id: panel
    property string filename
    // 0 to 1; below 0 while the size of the work is not known yet.
    property real progress: -1
    property bool canCancel: true
    signal cancelRequested()

    implicitHeight: column.implicitHeight + Theme.spacing.m * 2
    radius: Theme.radius.medium
    color: Theme.color.surface
    border.color: Theme.color.separator

    ColumnLayout {
        id: column
        anchors.fill: parent
        anchors.margins: Theme.spacing.m
        spacing: Theme.spacing.xs

        RowLayout {
            Layout.fillWidth: true
            spacing: Theme.spacing.m
            ColumnLayout {
                Layout.fillWidth: true
                spacing: Theme.spacing.xxs
                Text {
                    Layout.fillWidth: true
                    text: "Uploading " + panel.filename
                    elide: Text.ElideMiddle
                    color: Theme.color.textPrimary
                    font.pixelSize: Theme.font.headline
                    font.weight: Font.Medium
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                }
                Text {
                    text: "Large PDFs can take 30+ seconds"
                    color: Theme.color.textSecondary
                    font.pixelSize: Theme.font.caption
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                }
            }
            SecondaryButton {
                text: "Cancel upload"
                enabled: panel.canCancel
                Accessible.description: "Stops sending " + panel.filename
                onClicked: panel.cancelRequested()
            }
        }
        ProgressBar {
            Layout.fillWidth: true
            from: 0
            to: 1
            indeterminate: panel.progress < 0
            value: Math.max(0, panel.progress)
            Accessible.role: Accessible.ProgressBar
            Accessible.name: panel.progress < 0 ? "Upload starting"
                                                : "Uploaded " + Math.round(panel.progress * 100) + " percent"
        }
    }
}
