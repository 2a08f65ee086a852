import QtQuick
import QtQuick.Controls

// Scrolls `view` so that the control with keyboard focus stays in sight as Tab walks through
// the view's content, and when content above it grows or shrinks (a card that finishes loading).
// Declare it inside the ScrollView it serves.
QtObject {
    id: reveal
    required property ScrollView view
    property int margin: Theme.spacing.l

    function show(item) {
        const flickable = view.contentItem
        let ancestor = item ? item.parent : null
        while (ancestor && ancestor !== flickable.contentItem)
            ancestor = ancestor.parent
        if (!ancestor)
            return
        const top = item.mapToItem(flickable.contentItem, 0, 0).y - margin
        const bottom = top + item.height + margin * 2
        if (top < flickable.contentY)
            flickable.contentY = Math.max(0, top)
        else if (bottom > flickable.contentY + flickable.height)
            flickable.contentY = Math.min(bottom - flickable.height, flickable.contentHeight - flickable.height)
    }

    readonly property Connections focusChanges: Connections {
        target: reveal.view.Window.window
        function onActiveFocusItemChanged() { reveal.show(reveal.view.Window.activeFocusItem) }
    }
    readonly property Connections contentChanges: Connections {
        target: reveal.view.contentItem
        function onContentHeightChanged() { reveal.show(reveal.view.Window.activeFocusItem) }
    }
}
