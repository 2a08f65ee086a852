import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit

// A newer build is out: where to get it, and "Later" to put it off until the next one.
Rectangle {
    id: banner
    property string version
    property string notes
    property bool canDismiss: true
    signal downloadRequested()
    signal dismissed()

    implicitHeight: row.implicitHeight + Theme.spacing.m * 2
    color: Theme.color.accentSoft
    Accessible.role: Accessible.Grouping
    Accessible.name: "Update available"

    RowLayout {
        id: row
        anchors.fill: parent
        anchors.leftMargin: Theme.spacing.xl
        anchors.rightMargin: Theme.spacing.l
        spacing: Theme.spacing.m

        SymbolIcon {
            Layout.preferredWidth: 18
            Layout.preferredHeight: 18
            symbol: "sparkles"
            tint: Theme.color.accent
            size: 18
        }
        ColumnLayout {
            Layout.fillWidth: true
            spacing: Theme.spacing.xxs
            Text {
                Layout.fillWidth: true
                text: "A new version of Orbelo is available."
                color: Theme.color.textPrimary
                font.pixelSize: Theme.font.callout
                font.weight: Font.DemiBold
                elide: Text.ElideRight
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
            Text {
                Layout.fillWidth: true
                visible: text.length > 0
                text: [banner.version.length > 0 ? "Version " + banner.version : "", banner.notes]
                      .filter(part => part.length > 0).join(" — ")
                color: Theme.color.textSecondary
                font.pixelSize: Theme.font.caption
                elide: Text.ElideRight
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
        }
        SecondaryButton {
            visible: banner.canDismiss
            plain: true
            text: "Later"
            Accessible.description: "Hides this banner until a newer version comes out."
            onClicked: banner.dismissed()
        }
        PrimaryButton {
            implicitHeight: 32
            text: "Download"
            Accessible.description: "Opens the download page in your browser."
            onClicked: banner.downloadRequested()
        }
    }
}
