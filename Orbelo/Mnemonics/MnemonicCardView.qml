import QtQuick
import QtQuick.Layouts
import DesignKit
import OrbeloModels

// One card of a guide in its accent's colours: the title, and the blocks once expanded. A click,
// Enter or Space expands or collapses it; keyboard focus shows as a ring.
Rectangle {
    id: view
    required property MnemonicCardModel card
    property bool expanded: false

    readonly property color accentColor: MnemonicAccentStyle.accent(view.card.accent, Theme.dark)
    readonly property color textColor: MnemonicAccentStyle.text(view.card.accent, Theme.dark)

    function toggle() { expanded = !expanded }

    implicitHeight: column.implicitHeight + Theme.spacing.l * 2
    radius: Theme.radius.large
    color: MnemonicAccentStyle.background(view.card.accent, Theme.dark)
    border.width: activeFocus ? 3 : 1
    border.color: activeFocus ? Theme.color.focusRing : accentColor
    activeFocusOnTab: true
    Keys.onReturnPressed: toggle()
    Keys.onEnterPressed: toggle()
    Keys.onSpacePressed: toggle()
    Accessible.role: Accessible.Button
    Accessible.name: view.card.title
    Accessible.description: expanded ? "Click to collapse" : "Click to expand"
    Accessible.checkable: true
    Accessible.checked: expanded
    Accessible.onPressAction: toggle()

    // The accent stripe down the leading edge.
    Rectangle {
        x: 0
        y: view.radius
        width: 6
        height: view.height - view.radius * 2
        color: view.accentColor
    }

    MouseArea {
        anchors.fill: parent
        cursorShape: Qt.PointingHandCursor
        onClicked: {
            view.forceActiveFocus()
            view.toggle()
        }
    }

    ColumnLayout {
        id: column
        x: Theme.spacing.l + 4
        y: Theme.spacing.l
        width: view.width - Theme.spacing.l * 2 - 4
        spacing: Theme.spacing.s

        Text {
            Layout.fillWidth: true
            text: view.card.title
            wrapMode: Text.Wrap
            color: view.textColor
            font.pixelSize: Theme.font.headline
            font.weight: Font.Bold
            Accessible.ignored: true
        }
        Text {
            visible: !view.expanded
            text: "Click to expand"
            color: view.textColor
            opacity: 0.8
            font.pixelSize: Theme.font.caption
            Accessible.ignored: true
        }
        Repeater {
            model: view.expanded ? view.card.blocks : []
            delegate: Loader {
                id: block
                required property MnemonicBlockModel modelData
                Layout.fillWidth: true
                sourceComponent: modelData.isGrid ? gridBlock : markdownBlock

                Component {
                    id: markdownBlock
                    MnemonicMarkdownView {
                        blocks: block.modelData.markdown
                    }
                }
                Component {
                    id: gridBlock
                    MnemonicGridView {
                        rows: block.modelData.rows
                        columnCount: block.modelData.columns
                        accent: view.accentColor
                        textColor: Theme.color.textPrimary
                    }
                }
            }
        }
    }
}
