import QtQuick
import QtQuick.Window
import DesignKit
import OrbeloModels

// Shows the splash above its content for at least 1.3 seconds, then fades it out. The content is
// built and running underneath from the start.
Item {
    id: container
    default property alias content: holder.data

    RootSplashModel {
        id: model
        minimumDisplay: 1300
    }

    Item {
        id: holder
        anchors.fill: parent
    }

    SplashView {
        id: splash
        anchors.fill: parent
        opacity: model.splashVisible ? 1 : 0
        visible: opacity > 0
        Behavior on opacity {
            NumberAnimation { duration: 450; easing.type: Easing.InOutQuad }
        }
    }

    // The minimum display time counts from the first frame on screen, not from loading the QML.
    Connections {
        target: container.Window.window
        function onFrameSwapped() { model.start() }
    }
}
