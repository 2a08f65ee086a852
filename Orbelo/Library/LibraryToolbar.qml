import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit

// The Library's header row: the document count, the search field, the course filter, the course's
// reading guide (when narrowed to one course), Refresh, Rewards and the add menu.
RowLayout {
    id: toolbar
    required property QtObject model
    property bool canAdd: true
    // One syllabus import runs at a time.
    property bool canImportSyllabus: true
    // The course the library is narrowed to, if any: its reading guide is one click away.
    readonly property var filteredCourse: toolbar.model.filterKey.startsWith("course:")
                                          ? toolbar.model.filterOptions.find(option => option.checked) : null
    signal uploadRequested()
    signal scanRequested()
    signal imagesRequested()
    signal pdfRequested()
    signal courseFormRequested()

    spacing: Theme.spacing.s

    Text {
        Layout.fillWidth: true
        text: toolbar.model.headerText
        elide: Text.ElideRight
        color: Theme.color.textPrimary
        font.pixelSize: Theme.font.title2
        font.weight: Font.DemiBold
        Accessible.role: Accessible.Heading
        Accessible.name: text
    }

    TextField {
        id: search
        Layout.preferredWidth: 240
        placeholderText: "Search your documents"
        text: toolbar.model.searchText
        onTextEdited: toolbar.model.searchText = text
        selectByMouse: true
        leftPadding: Theme.spacing.xl + Theme.spacing.s
        Accessible.name: "Search your documents"
        Keys.onEscapePressed: {
            toolbar.model.searchText = ""
            text = ""
        }
        SymbolIcon {
            x: Theme.spacing.s
            anchors.verticalCenter: parent.verticalCenter
            symbol: "magnifyingglass"
            tint: Theme.color.textTertiary
            size: 16
        }
    }

    ToolButton {
        id: filterButton
        implicitWidth: 40
        implicitHeight: 40
        hoverEnabled: true
        Accessible.name: "Filter by course"
        Accessible.description: toolbar.model.filterKey === "all" ? "Showing all courses"
                                                                  : "Showing part of your documents"
        Accessible.onPressAction: filterMenu.open()
        ToolTip.visible: hovered
        ToolTip.text: "Filter by course"
        onClicked: filterMenu.open()
        contentItem: Item {
            SymbolIcon {
                anchors.centerIn: parent
                symbol: toolbar.model.filterSymbol
                tint: Theme.color.accent
                size: 20
            }
        }
        background: Rectangle {
            radius: Theme.radius.medium
            color: filterButton.hovered || filterMenu.visible ? Theme.color.raised : "transparent"
            border.width: filterButton.visualFocus ? 2 : 0
            border.color: Theme.color.focusRing
        }
        PopupMenu {
            id: filterMenu
            y: filterButton.height + Theme.spacing.xs
            title: "Filter by course"
        }
        Instantiator {
            model: toolbar.model.filterOptions
            delegate: PopupMenuItem {
                required property var modelData
                text: modelData.label
                symbol: modelData.checked ? "checkmark" : ""
                // Unchecked rows keep their text in line with the checked one's.
                leftPadding: Theme.spacing.m + (modelData.checked ? 0 : 16 + spacing)
                checkable: true
                checked: modelData.checked
                indicator: null
                onTriggered: toolbar.model.setFilter(modelData.key)
            }
            onObjectAdded: (index, object) => filterMenu.insertItem(index, object)
            onObjectRemoved: (index, object) => filterMenu.removeItem(object)
        }
    }

    SecondaryButton {
        visible: !!toolbar.filteredCourse
        text: "Reading guide"
        Accessible.name: "Reading guide for " + (visible ? toolbar.filteredCourse.label : "this course")
        Accessible.description: "Cornell notes, vocabulary & comprehension questions"
        onClicked: courseGuide.open()
        ReadingGuideSheet {
            id: courseGuide
            courseId: toolbar.filteredCourse ? toolbar.filteredCourse.key.slice("course:".length) : ""
            title: toolbar.filteredCourse ? toolbar.filteredCourse.label : ""
        }
    }

    RefreshButton {
        enabled: !toolbar.model.isLoading
        onClicked: toolbar.model.load()
    }

    SecondaryButton {
        text: "Rewards"
        Accessible.description: "Opens your rewards"
        onClicked: toolbar.model.openRewards()
    }

    PrimaryButton {
        id: addButton
        text: "Add"
        symbol: "plus"
        enabled: toolbar.canAdd
        Accessible.name: "Add a syllabus or upload a document"
        onClicked: addMenu.open()
        PopupMenu {
            id: addMenu
            y: addButton.height + Theme.spacing.xs
            x: addButton.width - width
            title: "Add a syllabus or upload a document"
            PopupMenuItem {
                text: "Scan syllabus"
                symbol: "doc.viewfinder"
                enabled: toolbar.canImportSyllabus
                onTriggered: toolbar.scanRequested()
            }
            PopupMenuItem {
                text: "Import syllabus image"
                symbol: "photo.on.rectangle"
                enabled: toolbar.canImportSyllabus
                onTriggered: toolbar.imagesRequested()
            }
            PopupMenuItem {
                text: "Import syllabus PDF"
                symbol: "doc.richtext"
                enabled: toolbar.canImportSyllabus
                onTriggered: toolbar.pdfRequested()
            }
            PopupMenuItem {
                text: "Upload reading or notes"
                symbol: "square.and.arrow.up"
                onTriggered: toolbar.uploadRequested()
            }
            PopupMenuSeparator {}
            PopupMenuItem {
                text: "Add a course"
                symbol: "plus.rectangle.on.folder"
                onTriggered: toolbar.courseFormRequested()
            }
        }
    }
}
