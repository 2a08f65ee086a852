import QtQuick
import QtQuick.Controls
import QtQuick.Dialogs
import QtQuick.Layouts
import DesignKit
import OrbeloModels

// A mnemonic in full with "Save image…" (a PNG of the mnemonic under a "Mnemonic Device" header)
// and "Copy image". Lays out at its width and grows to its content; put it in a scrolling view.
ColumnLayout {
    id: view
    property alias text: image.text
    property alias title: image.title
    property string explanation

    spacing: Theme.spacing.m

    MnemonicImageExport {
        id: image
        onSaveReady: (file) => {
            const path = file.toString()
            saveDialog.currentFolder = path.substring(0, path.lastIndexOf("/"))
            saveDialog.selectedFile = file
            saveDialog.open()
        }
    }

    RowLayout {
        Layout.fillWidth: true
        spacing: Theme.spacing.m
        Text {
            Layout.fillWidth: true
            visible: text.length > 0
            text: view.title
            elide: Text.ElideRight
            color: Theme.color.textPrimary
            font.pixelSize: Theme.font.title2
            font.weight: Font.Bold
            Accessible.role: Accessible.Heading
            Accessible.name: text
        }
        Item { Layout.fillWidth: view.title.length === 0 }
        SecondaryButton {
            text: image.saveLabel
            enabled: !image.isPreparing
            Accessible.name: "Save image…"
            Accessible.description: image.isPreparing ? image.saveLabel : "Saves this mnemonic as a PNG picture."
            onClicked: image.prepareSave()
        }
        SecondaryButton {
            text: image.copyLabel
            enabled: !image.isPreparing
            Accessible.name: "Copy image"
            Accessible.description: image.isPreparing ? image.copyLabel : "Copies a picture of this mnemonic."
            onClicked: image.copy()
        }
    }

    InlineErrorView {
        Layout.fillWidth: true
        message: image.errorMessage
    }

    MnemonicView {
        Layout.fillWidth: true
        text: view.text
        explanation: view.explanation
    }

    FileDialog {
        id: saveDialog
        title: "Save mnemonic image"
        fileMode: FileDialog.SaveFile
        defaultSuffix: "png"
        nameFilters: ["PNG image (*.png)"]
        onAccepted: image.save(selectedFile)
    }
}
