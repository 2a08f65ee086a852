import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit
import OrbeloModels

// A finished quiz: the score ring and grade, what the quiz earned, a notice when reporting it
// failed, the rating card after a good result, and the way on — the same quiz again or a new one.
FocusScope {
    id: view
    required property QuizResult result
    required property ReviewPrompt reviewPrompt
    signal retakeRequested()
    signal newQuizRequested()

    ScrollView {
        anchors.fill: parent
        contentWidth: availableWidth
        clip: true

        ColumnLayout {
            width: Math.min(view.width - Theme.spacing.xxl * 2, 560)
            x: Math.max(Theme.spacing.xxl, (view.width - width) / 2)
            spacing: Theme.spacing.l

            Item { Layout.preferredHeight: Theme.spacing.s }

            QuizScoreRing {
                Layout.alignment: Qt.AlignHCenter
                fraction: view.result.fraction
                percent: view.result.percent
                spokenLabel: view.result.spokenLabel
            }
            Text {
                Layout.alignment: Qt.AlignHCenter
                text: view.result.gradeText
                color: Theme.color.textPrimary
                font.pixelSize: Theme.font.title
                font.weight: Font.Bold
                Accessible.role: Accessible.Heading
                Accessible.name: text
            }
            Text {
                Layout.alignment: Qt.AlignHCenter
                text: view.result.scoreLine
                color: Theme.color.textSecondary
                font.pixelSize: Theme.font.body
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }

            Rectangle {
                Layout.fillWidth: true
                visible: view.result.noticeText.length > 0
                implicitHeight: notice.implicitHeight + Theme.spacing.s * 2
                radius: Theme.radius.small
                color: Theme.color.warningSoft
                Accessible.role: Accessible.AlertMessage
                Accessible.name: view.result.noticeText
                Text {
                    id: notice
                    x: Theme.spacing.m
                    y: Theme.spacing.s
                    width: parent.width - Theme.spacing.m * 2
                    text: view.result.noticeText
                    wrapMode: Text.WordWrap
                    color: Theme.color.warning
                    font.pixelSize: Theme.font.callout
                    Accessible.ignored: true
                }
            }

            QuizRewardsView {
                Layout.fillWidth: true
                result: view.result
                visible: view.result.isTallying || view.result.hasRewards
            }

            QuizReviewCard {
                Layout.fillWidth: true
                visible: view.reviewPrompt.isShown
                prompt: view.reviewPrompt
            }

            RowLayout {
                Layout.alignment: Qt.AlignHCenter
                spacing: Theme.spacing.m
                SecondaryButton {
                    text: "Retake same quiz"
                    Accessible.description: "Runs the same questions again from the first, with no answers."
                    onClicked: view.retakeRequested()
                }
                PrimaryButton {
                    text: "Generate new quiz"
                    symbol: "sparkles"
                    Accessible.description: "Returns to the setup for a new quiz."
                    onClicked: view.newQuizRequested()
                }
            }

            Item { Layout.preferredHeight: Theme.spacing.l }
        }
    }
}
