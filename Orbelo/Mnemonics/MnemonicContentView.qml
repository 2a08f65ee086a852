import QtQuick
import QtQuick.Layouts
import DesignKit
import OrbeloModels

// A mnemonic's text: the guide of cards when it parses into cards, otherwise its Markdown.
ColumnLayout {
    id: view
    property alias text: content.text

    spacing: Theme.spacing.m

    MnemonicContent { id: content }

    MnemonicGuideView {
        Layout.fillWidth: true
        visible: content.isGuide
        content: content
    }

    MnemonicMarkdownView {
        Layout.fillWidth: true
        visible: !content.isGuide
        blocks: content.markdown
    }
}
