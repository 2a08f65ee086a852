import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit

// The captured pages of a scan, in order, each with a button that removes it.
Item {
    id: strip
    property var thumbnails: []
    property bool removable: true
    signal removeRequested(int index)

    implicitHeight: 112

    Text {
        anchors.centerIn: parent
        visible: strip.thumbnails.length === 0
        text: "Captured pages appear here."
        color: Theme.color.textTertiary
        font.pixelSize: Theme.font.callout
        Accessible.role: Accessible.StaticText
        Accessible.name: text
    }

    ListView {
        anchors.fill: parent
        orientation: ListView.Horizontal
        spacing: Theme.spacing.s
        clip: true
        model: strip.thumbnails
        Accessible.role: Accessible.List
        Accessible.name: "Captured pages"
        onCountChanged: positionViewAtEnd()

        delegate: Item {
            id: thumb
            required property int index
            required property string modelData
            width: picture.width
            height: ListView.view.height

            Image {
                id: picture
                height: parent.height
                width: Math.max(60, Math.round(height * sourceSize.width / Math.max(1, sourceSize.height)))
                source: thumb.modelData
                fillMode: Image.PreserveAspectFit
                Accessible.role: Accessible.Graphic
                Accessible.name: "Page " + (thumb.index + 1)
                Rectangle {
                    anchors.fill: parent
                    color: "transparent"
                    radius: Theme.radius.small
                    border.color: Theme.color.separator
                }
                Rectangle {
                    anchors.left: parent.left
                    anchors.bottom: parent.bottom
                    anchors.margins: Theme.spacing.xs
                    width: Math.max(height, number.implicitWidth + Theme.spacing.s)
                    height: 18
                    radius: height / 2
                    color: Theme.color.accent
                    Text {
                        id: number
                        anchors.centerIn: parent
                        text: thumb.index + 1
                        color: Theme.color.textOnAccent
                        font.pixelSize: Theme.font.caption
                        font.weight: Font.DemiBold
                        Accessible.ignored: true
                    }
                }
            }
            RoundButton {
                id: remove
                anchors.top: picture.top
                anchors.right: picture.right
                anchors.margins: Theme.spacing.xs
                width: 24
                height: 24
                padding: 0
                visible: strip.removable
                Accessible.name: "Remove page " + (thumb.index + 1)
                Accessible.onPressAction: remove.clicked()
                onClicked: strip.removeRequested(thumb.index)
                Keys.onReturnPressed: clicked()
                Keys.onEnterPressed: clicked()
                contentItem: SymbolIcon {
                    symbol: "xmark"
                    tint: Theme.color.textOnAccent
                    size: 12
                }
                background: Rectangle {
                    radius: width / 2
                    color: remove.hovered || remove.visualFocus ? Theme.color.danger : "#99000000"
                    border.width: remove.visualFocus ? 2 : 0
                    border.color: Theme.color.focusRing
                }
            }
        }
    }
}
