// Grading a finished quiz on the UI thread when "Finish quiz" is pressed: 1,000 answers of every
// kind — choice positions right and wrong, signed and non-numeric, and typed answers checked
// against several accepted texts or the first option.
#include "Quiz/QuizGrading.h"

#include <benchmark/benchmark.h>

namespace {

struct Quiz {
    QuizQuestionType type;
    QList<QuizQuestion> questions;
    QMap<int, QString> answers;
};

Quiz choiceQuiz(QuizQuestionType type, int count) {
    Quiz quiz{type, {}, {}};
    const QStringList answers{"1", "+2", "0", "Mitochondrion", "", "-1", "3"};
    for (int i = 0; i < count; ++i) {
        QuizQuestion question;
        question.question = QStringLiteral("Question %1").arg(i);
        question.options = {"Ribosome", "Mitochondrion", "Nucleus", "Golgi body"};
        question.correctAnswerIndex = i % 4;
        quiz.questions << question;
        quiz.answers.insert(i, answers[i % answers.size()]);
    }
    return quiz;
}

Quiz fillInQuiz(int count) {
    Quiz quiz{QuizQuestionType::fillInBlank, {}, {}};
    const QStringList answers{"  Photosynthesis\n", "photosynthesis", "PHOTO synthesis", "", "chlorophyll "};
    for (int i = 0; i < count; ++i) {
        QuizQuestion question;
        question.question = QStringLiteral("Plants make sugar by ___ (%1)").arg(i);
        if (i % 3 == 0)
            question.options = {"Photosynthesis"};
        else
            question.correctAnswerStrings = {"Photo-synthesis", "Photosynthesis", "Chlorophyll"};
        quiz.questions << question;
        quiz.answers.insert(i, answers[i % answers.size()]);
    }
    return quiz;
}

// 1,000 answers in all: 400 multiple choice, 200 true/false and 400 fill-in, graded as the three
// quizzes they come from.
void BM_GradeThousandAnswers(benchmark::State& state) {
    const QList<Quiz> quizzes{choiceQuiz(QuizQuestionType::multipleChoice, 400),
                              choiceQuiz(QuizQuestionType::trueFalse, 200), fillInQuiz(400)};
    for (auto _ : state) {
        int correct = 0;
        for (const Quiz& quiz : quizzes)
            correct += QuizGrading::score(quiz.type, quiz.questions, quiz.answers).correct;
        benchmark::DoNotOptimize(correct);
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}

} // namespace

BENCHMARK(BM_GradeThousandAnswers)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
