import QtQuick
import DesignKit

// One block of a notes section: a heading, a bullet or numbered item indented by its nesting, or
// a paragraph. Inline bold, italics and links come already styled; links open in the browser.
Item {
    id: row
    required property string kind
    required property int level
    required property string number
    required property string styledText

    readonly property bool isItem: kind === "bullet" || kind === "ordered"
    readonly property int indent: isItem ? level * Theme.spacing.l : 0
    // What a screen reader says: the styled text without its markup.
    readonly property string spokenText: styledText.replace(/<[^>]*>/g, "").replace(/&lt;/g, "<")
        .replace(/&gt;/g, ">").replace(/&quot;/g, "\"").replace(/&amp;/g, "&")

    implicitHeight: Math.max(marker.implicitHeight, body.implicitHeight)
    Accessible.role: kind === "heading" ? Accessible.Heading : Accessible.StaticText
    Accessible.name: kind === "ordered" ? number + ". " + spokenText : spokenText

    Text {
        id: marker
        x: row.indent
        visible: row.isItem
        width: visible ? 24 : 0
        text: row.kind === "ordered" ? row.number + "." : "\u2022"
        color: Theme.color.textSecondary
        font.pixelSize: Theme.font.body
        Accessible.ignored: true
    }
    Text {
        id: body
        x: row.indent + marker.width
        width: row.width - x
        text: row.styledText
        textFormat: Text.StyledText
        wrapMode: Text.Wrap
        color: Theme.color.textPrimary
        linkColor: Theme.color.accent
        lineHeight: 1.2
        font.pixelSize: row.kind === "heading" ? Math.max(Theme.font.headline, Theme.font.title2 - (row.level - 1) * 2)
                                               : Theme.font.body
        font.weight: row.kind === "heading" ? Font.DemiBold : Font.Normal
        onLinkActivated: link => Qt.openUrlExternally(link)
        Accessible.ignored: true
    }
}
