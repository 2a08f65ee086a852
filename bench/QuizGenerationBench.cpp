// Practice-test generation as the "quiz" job computes it: 20 questions from course notes of about
// 300 pages, with WordNet's relations for the distractors. Run by hand, never by ctest.

#include "QuizGenerator.h"
#include "QuizRoutes.h"

#include <QRandomGenerator>
#include <QStringList>
#include <benchmark/benchmark.h>

namespace {

// Course notes of about 300 pages (some 150,000 words): paragraphs of made-up prose over a
// 3,000-word lexicon under a heading every 40 paragraphs, one paragraph in five opening with a
// definition of one of 400 terms, the first of them English words that WordNet knows.
QString longDocument() {
    static const QStringList english{
        "membrane",  "osmosis",  "diffusion", "enzyme",      "protein", "nucleus", "vacuole",  "ribosome",
        "organelle", "glucose",  "pigment",   "chlorophyll", "mitosis", "meiosis", "gamete",   "chromosome",
        "allele",    "genotype", "phenotype", "mutation",    "species", "habitat", "predator", "parasite"};
    QRandomGenerator random(20261206);
    QStringList lexicon;
    for (int i = 0; i < 3000; ++i) {
        QString word;
        for (int letters = 3 + int(random.bounded(7)); letters > 0; --letters)
            word += QChar('a' + int(random.bounded(26)));
        lexicon.append(word);
    }
    const auto sentence = [&](int words) {
        QStringList out;
        for (int i = 0; i < words; ++i)
            out.append(lexicon.at(int(random.bounded(qint64(lexicon.size())))));
        out.first()[0] = out.first().at(0).toUpper();
        return out.join(' ') + '.';
    };
    QStringList paragraphs;
    qsizetype words = 0;
    for (int p = 0; words < 150'000; ++p) {
        if (p % 40 == 0)
            paragraphs.append("# Chapter " + lexicon.at(p));
        QStringList text;
        if (p % 5 == 0) {
            const int term = (p / 5) % 400;
            text.append(english.value(term, lexicon.at(term)) + " is a " + sentence(12).toLower());
        }
        for (int s = 0; s < 6; ++s)
            text.append(sentence(8 + int(random.bounded(14))));
        words += text.join(' ').count(' ') + 1;
        paragraphs.append(text.join(' '));
    }
    return paragraphs.join("\n\n");
}

const QList<QuizGenerator::Source>& sources() {
    static const QList<QuizGenerator::Source> document{{"Lecture notes", longDocument()}};
    return document;
}

void generate(benchmark::State& state, const QString& type, const QString& difficulty, const QString& topic) {
    qsizetype questions = 0;
    quint32 seed = 1;
    for (auto _ : state)
        questions = QuizGenerator::generate(sources(), {type, difficulty, topic, 20, seed++},
                                            QuizRoutes::wordNetRelated)
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
