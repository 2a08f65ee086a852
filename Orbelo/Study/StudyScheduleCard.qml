import QtQuick
import QtQuick.Layouts
import DesignKit
import OrbeloModels

// The study schedule: loading, its failure with "Try again", nothing yet, or the events by day
// with the counts above and where they come from below.
StudyCard {
    id: card
    required property StudyScheduleModel model
    readonly property bool showsDays: model.days.length > 0

    title: "Study schedule"
    symbol: "list.bullet.clipboard"

    Text {
        Layout.fillWidth: true
        visible: text.length > 0 && card.showsDays
        text: card.model.summary
        color: Theme.color.textSecondary
        font.pixelSize: Theme.font.callout
        Accessible.role: Accessible.StaticText
        Accessible.name: text
    }

    ColumnLayout {
        Layout.fillWidth: true
        visible: card.model.isLoading && !card.showsDays
        spacing: Theme.spacing.m
        Text {
            text: "Building your schedule…"
            color: Theme.color.textSecondary
            font.pixelSize: Theme.font.body
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }
        SkeletonRows {
            Layout.fillWidth: true
            accessibleName: "Building your schedule…"
        }
    }

    InlineErrorView {
        Layout.fillWidth: true
        message: card.model.errorMessage
    }
    SecondaryButton {
        visible: card.model.errorMessage.length > 0
        enabled: !card.model.isLoading
        text: "Try again"
        Accessible.description: "Loads your study schedule again."
        onClicked: card.model.load()
    }

    EmptyStateView {
        Layout.fillWidth: true
        Layout.preferredHeight: 220
        visible: card.model.isEmpty && card.model.errorMessage.length === 0
        symbol: "graduationcap.fill"
        title: "No study weeks yet"
        message: "Add a syllabus from your library and we'll lay out its weeks here automatically."
    }

    Repeater {
        model: card.model.days
        delegate: ColumnLayout {
            id: day
            required property var modelData
            Layout.fillWidth: true
            Layout.topMargin: Theme.spacing.xs
            spacing: Theme.spacing.xs

            Text {
                text: day.modelData.label
                color: Theme.color.textSecondary
                font.pixelSize: Theme.font.callout
                font.weight: Font.DemiBold
                Accessible.role: Accessible.Heading
                Accessible.name: text
            }
            Repeater {
                model: day.modelData.entries
                delegate: StudyScheduleDayRow {
                    required property var modelData
                    Layout.fillWidth: true
                    entry: modelData
                }
            }
        }
    }

    Text {
        Layout.fillWidth: true
        Layout.topMargin: Theme.spacing.xs
        visible: card.showsDays
        text: "Built from the syllabuses in your library. Add another and its weeks appear here."
        wrapMode: Text.WordWrap
        color: Theme.color.textTertiary
        font.pixelSize: Theme.font.caption
        Accessible.role: Accessible.StaticText
        Accessible.name: text
    }
}
