import QtQuick

// A bundled icon by symbol name, tinted; decorative unless given an accessible name.
Image {
    id: icon
    property string symbol
    property color tint: Theme.color.textPrimary
    property int size: 18

    width: size
    height: size
    sourceSize: Qt.size(size * 2, size * 2)
    source: symbol.length > 0 ? Theme.symbol(symbol, tint) : ""
    fillMode: Image.PreserveAspectFit
    smooth: true
    Accessible.ignored: Accessible.name.length === 0
}
