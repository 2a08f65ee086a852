import QtQuick

// The Orbelo mark: a graduation cap on an accent disc.
Rectangle {
    id: mark
    property int size: 64

    width: size
    height: size
    radius: size / 2
    gradient: Gradient {
        GradientStop { position: 0; color: Theme.dark ? "#9D8CFF" : "#6E5CF0" }
        GradientStop { position: 1; color: Theme.dark ? "#5B4BDB" : "#4131B8" }
    }
    Accessible.role: Accessible.Graphic
    Accessible.name: "Orbelo"

    SymbolIcon {
        anchors.centerIn: parent
        symbol: "graduationcap.fill"
        tint: "#FFFFFF"
        size: mark.size * 0.55
    }
}
