pragma Singleton
import QtQuick
import DesignKit

// The look of the app: colours for light and dark (following the system palette), the type
// scale, spacing, radii and motion.
QtObject {
    id: theme

    readonly property SystemPalette system: SystemPalette { colorGroup: SystemPalette.Active }
    readonly property bool dark: system.window.hslLightness < 0.5

    readonly property QtObject color: QtObject {
        readonly property color accent: theme.dark ? "#8B7CFF" : "#5B4BDB"
        readonly property color accentHover: theme.dark ? "#A094FF" : "#4A3BC4"
        readonly property color textOnAccent: "#FFFFFF"
        readonly property color accentSoft: theme.dark ? "#2E2A52" : "#ECE9FF"
        readonly property color background: theme.dark ? "#16161D" : "#F7F7FB"
        readonly property color surface: theme.dark ? "#1F1F29" : "#FFFFFF"
        readonly property color sidebar: theme.dark ? "#1B1B24" : "#F0F0F6"
        readonly property color raised: theme.dark ? "#2A2A36" : "#F3F3F8"
        readonly property color separator: theme.dark ? "#33333F" : "#E3E3EC"
        readonly property color textPrimary: theme.dark ? "#F2F2F7" : "#1C1B29"
        readonly property color textSecondary: theme.dark ? "#A8A8B8" : "#5F5E72"
        readonly property color textTertiary: theme.dark ? "#75758A" : "#8E8DA0"
        readonly property color danger: theme.dark ? "#FF7A7A" : "#C62D3A"
        readonly property color dangerSoft: theme.dark ? "#3A2024" : "#FDECEE"
        readonly property color warning: theme.dark ? "#F5C451" : "#8A5A00"
        readonly property color warningSoft: theme.dark ? "#3A3020" : "#FFF4DB"
        readonly property color success: theme.dark ? "#5FD39A" : "#1D8A55"
        readonly property color focusRing: theme.dark ? "#B3A9FF" : "#7A6CF0"
    }

    readonly property QtObject font: QtObject {
        readonly property int largeTitle: 30
        readonly property int title: 22
        readonly property int title2: 18
        readonly property int headline: 15
        readonly property int body: 14
        readonly property int callout: 13
        readonly property int caption: 12
    }

    readonly property QtObject spacing: QtObject {
        readonly property int xxs: 2
        readonly property int xs: 4
        readonly property int s: 8
        readonly property int m: 12
        readonly property int l: 16
        readonly property int xl: 24
        readonly property int xxl: 32
        readonly property int xxxl: 48
    }

    readonly property QtObject radius: QtObject {
        readonly property int small: 6
        readonly property int medium: 10
        readonly property int large: 16
        readonly property int pill: 999
    }

    readonly property QtObject motion: QtObject {
        readonly property bool reduce: MotionSettings.reduceMotion
        readonly property int quick: reduce ? 0 : 120
        readonly property int standard: reduce ? 0 : 220
        readonly property int fade: reduce ? 0 : 450
    }

    // An icon URL for a symbol name in a colour.
    function symbol(name, tint) {
        return "image://symbol/" + name + "?color=" + encodeURIComponent(String(tint))
    }
}
