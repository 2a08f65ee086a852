import QtQuick
import DesignKit
import OrbeloModels

// The Quiz tab: the practice-test setup, then the quiz question by question, then its result.
Item {
    id: screen
    readonly property alias quizModel: quiz

    QuizModel {
        id: quiz
        context: AppContext
    }
    Component.onCompleted: quiz.load()
    // Back in the tab: courses made meanwhile are offered; a test under way is left alone.
    function sectionShown() {
        if (quiz.phase === QuizModel.Setup && !quiz.setup.isLoadingCourses && !quiz.setup.isGenerating)
            quiz.load()
    }
    Refreshable.onRequested: quiz.load()
    Refreshable.enabled: quiz.phase === QuizModel.Setup && !quiz.setup.isLoadingCourses
                         && !quiz.setup.isGenerating
    UnsavedWork.description: quiz.phase === QuizModel.Running ? "the practice test you are taking"
                             : quiz.setup.isGenerating ? "the practice test being written" : ""

    Loader {
        anchors.fill: parent
        focus: true
        sourceComponent: quiz.phase === QuizModel.Running ? runnerPage
                         : quiz.phase === QuizModel.Result ? resultPage : setupPage
        onLoaded: item.forceActiveFocus()
    }

    Component {
        id: setupPage
        QuizSetupView { model: quiz.setup }
    }
    Component {
        id: runnerPage
        QuizRunnerView {
            runner: quiz.runner
            onCancelRequested: quiz.cancelRun()
        }
    }
    Component {
        id: resultPage
        QuizResultView {
            result: quiz.result
            reviewPrompt: quiz.reviewPrompt
            onRetakeRequested: quiz.retake()
            onNewQuizRequested: quiz.newQuiz()
        }
    }
}
