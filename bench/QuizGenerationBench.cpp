// Practice-test generation as the "quiz" job computes it: 20 questions from course notes of about
// 300 pages, with WordNet's relations and sister terms for the distractors. Run by hand, never by
// ctest.

#include "QuizGenerator.h"
#include "QuizRoutes.h"
#include "SyntheticLecture.h"

#include <QStringList>
#include <benchmark/benchmark.h>

namespace {

// WordNet knows these, so the first terms have relations for the distractors.
const QStringList englishTerms{"membrane",  "osmosis",  "diffusion", "enzyme",     "protein",  "nucleus",
                               "vacuole",   "ribosome", "organelle", "glucose",    "pigment",  "chlorophyll",
                               "mitosis",   "meiosis",  "gamete",    "chromosome", "allele",   "genotype",
                               "phenotype", "mutation", "species",   "habitat",    "predator", "parasite"};

const QList<QuizGenerator::Source>& sources() {
    static const QList<QuizGenerator::Source> document{
        {"Lecture notes", syntheticLecture(20261206, englishTerms, 40)}};
    return document;
}

void generate(benchmark::State& state, const QString& type, const QString& difficulty, const QString& topic) {
    qsizetype questions = 0;
    quint32 seed = 1;
    for (auto _ : state)
        questions = QuizGenerator::generate(sources(), {type, difficulty, topic, 20, seed++},
                                            QuizRoutes::wordNetRelated, WordNet::coordinateTerms)
                        .questions.size();
    if (questions == 0)
        state.SkipWithError("no questions");
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
    generate(state, "multiple_choice", "hard", sources().first().text.section(' ', 40, 40));
}

} // namespace

BENCHMARK(BM_MultipleChoiceHard)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TrueFalseEasy)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FillInBlank)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MultipleChoiceOnTopic)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
