import QtQuick
import QtQuick.Layouts
import DesignKit

// The last onboarding step's body: a sample explanation built around the user's interests, then
// what they answered.
ColumnLayout {
    id: summary
    required property QtObject flow

    spacing: Theme.spacing.l

    Rectangle {
        Layout.fillWidth: true
        implicitHeight: sample.implicitHeight + Theme.spacing.xl * 2
        radius: Theme.radius.large
        color: Theme.color.surface
        border.color: Theme.color.separator
        Accessible.role: Accessible.Grouping
        Accessible.name: summary.flow.sampleHeading

        Rectangle {
            width: 4
            radius: 2
            anchors.left: parent.left
            anchors.top: parent.top
            anchors.bottom: parent.bottom
            anchors.margins: Theme.spacing.l
            color: Theme.color.accent
        }

        ColumnLayout {
            id: sample
            anchors.fill: parent
            anchors.margins: Theme.spacing.xl
            anchors.leftMargin: Theme.spacing.xxl + Theme.spacing.s
            spacing: Theme.spacing.s

            RowLayout {
                spacing: Theme.spacing.s
                SymbolIcon {
                    symbol: "sparkles"
                    tint: Theme.color.accent
                    size: 18
                }
                Text {
                    Layout.fillWidth: true
                    text: summary.flow.sampleHeading
                    wrapMode: Text.WordWrap
                    color: Theme.color.textPrimary
                    font.pixelSize: Theme.font.title2
                    font.weight: Font.DemiBold
                    Accessible.role: Accessible.Heading
                    Accessible.name: text
                }
            }
            Text {
                Layout.fillWidth: true
                text: summary.flow.sampleSentence
                wrapMode: Text.WordWrap
                color: Theme.color.textPrimary
                font.pixelSize: Theme.font.headline
                lineHeight: 1.25
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
            Text {
                Layout.fillWidth: true
                visible: text.length > 0
                text: summary.flow.sampleFollowUp
                wrapMode: Text.WordWrap
                color: Theme.color.textSecondary
                font.pixelSize: Theme.font.body
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
        }
    }

    Text {
        Layout.fillWidth: true
        text: summary.flow.sampleCaption
        wrapMode: Text.WordWrap
        color: Theme.color.textTertiary
        font.pixelSize: Theme.font.caption
        Accessible.role: Accessible.StaticText
        Accessible.name: text
    }

    Rectangle {
        Layout.fillWidth: true
        implicitHeight: rows.implicitHeight + Theme.spacing.l * 2
        radius: Theme.radius.large
        color: Theme.color.surface
        border.color: Theme.color.separator

        ColumnLayout {
            id: rows
            anchors.fill: parent
            anchors.margins: Theme.spacing.l
            spacing: Theme.spacing.m

            Repeater {
                model: summary.flow.summary
                delegate: RowLayout {
                    required property var modelData
                    Layout.fillWidth: true
                    spacing: Theme.spacing.l
                    Accessible.role: Accessible.StaticText
                    Accessible.name: modelData.label + ": " + modelData.value

                    Text {
                        Layout.preferredWidth: 140
                        Layout.alignment: Qt.AlignTop
                        text: modelData.label
                        color: Theme.color.textSecondary
                        font.pixelSize: Theme.font.callout
                        Accessible.ignored: true
                    }
                    Text {
                        Layout.fillWidth: true
                        text: modelData.value
                        wrapMode: Text.WordWrap
                        color: Theme.color.textPrimary
                        font.pixelSize: Theme.font.body
                        font.weight: Font.Medium
                        Accessible.ignored: true
                    }
                }
            }
        }
    }
}
