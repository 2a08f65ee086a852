import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit

// The sidebar "Orbelo": two unlabeled groups of sections, bound to the shell's selection.
Rectangle {
    id: sidebar
    required property QtObject shell

    color: Theme.color.sidebar
    Accessible.role: Accessible.List
    Accessible.name: "Orbelo"

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: Theme.spacing.m
        spacing: Theme.spacing.xs

        Row {
            Layout.leftMargin: Theme.spacing.s
            Layout.topMargin: Theme.spacing.s
            Layout.bottomMargin: Theme.spacing.l
            spacing: Theme.spacing.s
            BrandMark { size: 28; Accessible.ignored: true }
            Text {
                anchors.verticalCenter: parent.verticalCenter
                text: "Orbelo"
                color: Theme.color.textPrimary
                font.pixelSize: Theme.font.title2
                font.weight: Font.Bold
                Accessible.role: Accessible.Heading
                Accessible.name: text
            }
        }

        Repeater {
            model: sidebar.shell.sidebarSections
            delegate: ColumnLayout {
                required property var modelData
                required property int index
                Layout.fillWidth: true
                spacing: Theme.spacing.xxs

                Rectangle {
                    visible: index > 0
                    Layout.fillWidth: true
                    Layout.topMargin: Theme.spacing.s
                    Layout.bottomMargin: Theme.spacing.s
                    Layout.leftMargin: Theme.spacing.s
                    Layout.rightMargin: Theme.spacing.s
                    height: 1
                    color: Theme.color.separator
                }

                Repeater {
                    model: modelData
                    delegate: ItemDelegate {
                        id: row
                        required property var modelData
                        readonly property bool selected: sidebar.shell.selectedTab === modelData.tab
                        Layout.fillWidth: true
                        implicitHeight: 36
                        leftPadding: Theme.spacing.m
                        focusPolicy: Qt.StrongFocus
                        Accessible.role: Accessible.ListItem
                        Accessible.name: modelData.label
                        Accessible.selected: selected
                        Accessible.onPressAction: sidebar.shell.selectedTab = modelData.tab
                        onClicked: sidebar.shell.selectedTab = modelData.tab

                        contentItem: Row {
                            spacing: Theme.spacing.m
                            SymbolIcon {
                                anchors.verticalCenter: parent.verticalCenter
                                symbol: row.modelData.symbol
                                tint: row.selected ? Theme.color.accent : Theme.color.textSecondary
                                size: 18
                            }
                            Text {
                                anchors.verticalCenter: parent.verticalCenter
                                text: row.modelData.label
                                color: row.selected ? Theme.color.accent : Theme.color.textPrimary
                                font.pixelSize: Theme.font.body
                                font.weight: row.selected ? Font.DemiBold : Font.Normal
                            }
                        }
                        background: Rectangle {
                            radius: Theme.radius.small
                            color: row.selected ? Theme.color.accentSoft
                                 : row.hovered ? Theme.color.raised : "transparent"
                            border.width: row.visualFocus ? 2 : 0
                            border.color: Theme.color.focusRing
                        }
                    }
                }
            }
        }

        Item { Layout.fillHeight: true }
    }
}
