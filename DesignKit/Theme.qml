pragma Singleton
import QtQuick
import DesignKit

// The look of the app: the colours of the palette Appearance picks (light, dark, Night Owl or high
// contrast), the type scale, spacing, radii and motion.
QtObject {
    id: theme

    readonly property SystemPalette system: SystemPalette { colorGroup: SystemPalette.Active }
    // The desktop's light or dark look feeds Appearance, which picks the palette.
    readonly property Binding systemDarkFeed: Binding {
        target: Appearance
        property: "systemDark"
        value: theme.system.window.hslLightness < 0.5
    }
    readonly property bool dark: Appearance.dark
    readonly property var palette: Appearance.colors

    readonly property QtObject color: QtObject {
        readonly property color accent: theme.palette.accent
        readonly property color accentHover: theme.palette.accentHover
        readonly property color textOnAccent: theme.palette.textOnAccent
        readonly property color accentSoft: theme.palette.accentSoft
        readonly property color background: theme.palette.background
        readonly property color surface: theme.palette.surface
        readonly property color sidebar: theme.palette.sidebar
        readonly property color raised: theme.palette.raised
        readonly property color separator: theme.palette.separator
        readonly property color textPrimary: theme.palette.textPrimary
        readonly property color textSecondary: theme.palette.textSecondary
        readonly property color textTertiary: theme.palette.textTertiary
        readonly property color danger: theme.palette.danger
        readonly property color dangerSoft: theme.palette.dangerSoft
        readonly property color warning: theme.palette.warning
        readonly property color warningSoft: theme.palette.warningSoft
        readonly property color success: theme.palette.success
        readonly property color focusRing: theme.palette.focusRing
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
