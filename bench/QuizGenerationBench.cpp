// Practice-test generation as the "quiz" job computes it: 20 questions from course notes of about
// 300 pages, with WordNet's relations and sister terms for the distractors. The notes are the
// English study notes of bench/corpus, one after another, again and again. Run by hand, never by
// ctest.

#include "Quiz/QuizGenerator.h"
#include "Quiz/QuizRoutes.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <benchmark/benchmark.h>

namespace {

constexpr qsizetype pagesOfText = 1'050'000; // characters, about 300 pages

const QList<QuizGenerator::Source>& sources() {
    static const QList<QuizGenerator::Source> document = [] {
        QStringList notes;
        for (const QFileInfo& file :
             QDir(ORBELO_CORPUS_DIR).entryInfoList({"*.md", "*.txt"}, QDir::Files, QDir::Name)) {
            if (file.fileName() == "README.md" || file.fileName().startsWith("foreign-"))
                continue;
            QFile note(file.filePath());
            if (note.open(QIODevice::ReadOnly))
                notes.append(QString::fromUtf8(note.readAll()));
        }
        QString text;
        while (!notes.isEmpty() && text.size() < pagesOfText)
            text += notes.join("\n\n") + "\n\n";
        return QList<QuizGenerator::Source>{{"Lecture notes", text}};
    }();
    return document;
}

void generate(benchmark::State& state, const QString& type, const QString& difficulty, const QString& topic) {
    QuizGenerator::Result made;
    quint32 seed = 1;
    for (auto _ : state)
        made = QuizGenerator::generate(sources(), {type, difficulty, topic, 20, seed++},
                                       QuizRoutes::wordNetRelated, WordNet::coordinateTerms);
    const qsizetype questions = made.questions.size();
    if (questions == 0)
        state.SkipWithError(made.problem.toUtf8().constData());
    state.counters["questions"] = double(questions);
    state.counters["chars"] = double(sources().first().text.size());
}

void BM_MultipleChoiceHard(benchmark::State& state) {
    generate(state, "multiple_choice", "hard", {});
}
void BM_TrueFalseEasy(benchmark::State& state) {
    generate(state, "true_false", "easy", {});
}
void BM_FillInBlank(benchmark::State& state) {
    generate(state, "fill_in_blank", "medium", {});
}
// With a topic the notes are stemmed once more, paragraph by paragraph, to find its passages.
void BM_MultipleChoiceOnTopic(benchmark::State& state) {
    generate(state, "multiple_choice", "hard", "photosynthesis");
}

} // namespace

BENCHMARK(BM_MultipleChoiceHard)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TrueFalseEasy)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FillInBlank)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MultipleChoiceOnTopic)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
