// How good the study material made from real notes is: for each note of bench/corpus (notes
// written for the project, each with the terms a teacher would put on flashcards), the key terms'
// recall and precision against that list, the share of cards with a real definition, how many
// questions of each type come back when 10 are asked, and the time taken; then the vocabulary of a
// book of about 300 pages. Run by hand: bench_GenerationQuality [corpus dir] [--terms NAME].

#include "Quiz/QuizGenerator.h"
#include "Quiz/QuizRoutes.h"
#include "Terms/EnglishStemmer.h"
#include "Terms/KeyTermEngine.h"
#include "Terms/TermWords.h"
#include "Terms/WordNet.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTextStream>
#include <algorithm>
#include <cstdio>

namespace {

EnglishStemmer& stemmer() {
    static EnglishStemmer instance;
    return instance;
}

// Compared by the stems of their words, without an article, hyphens and dashes read as spaces.
QString normalized(const QString& term) {
    static const QRegularExpression word(R"([\p{L}\p{N}]+)");
    QStringList stems;
    for (auto it = word.globalMatch(term.toLower()); it.hasNext();)
        stems.append(stemmer().stem(it.next().captured(0)));
    while (!stems.isEmpty() && TermWords::isArticle(stems.first()))
        stems.removeFirst();
    return stems.join(' ');
}

QString read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

struct Scores {
    double recall = 0, precision = 0, defined = 0;
    int terms = 0, gold = 0;
    int questions[3] = {0, 0, 0};
    double millis = 0;
};

const char* const questionTypes[] = {"multiple_choice", "true_false", "fill_in_blank"};

// A real definition: at least four words and not the term itself.
bool hasDefinition(const KeyTermEngine::Term& term) {
    return term.definition.split(' ', Qt::SkipEmptyParts).size() >= 4 &&
           normalized(term.definition) != normalized(term.term);
}

Scores measure(const QString& text, const QString& goldText, bool verbose) {
    QList<QSet<QString>> gold;
    for (const QString& line : goldText.split('\n', Qt::SkipEmptyParts)) {
        QSet<QString> forms;
        for (const QString& form : line.split('|', Qt::SkipEmptyParts))
            if (const QString key = normalized(form); !key.isEmpty())
                forms.insert(key);
        if (!forms.isEmpty())
            gold.append(forms);
    }
    Scores scores;
    QElapsedTimer timer;
    timer.start();
    const QList<KeyTermEngine::Term> terms = KeyTermEngine::keyTerms({text});
    scores.millis = double(timer.nsecsElapsed()) / 1e6;
    QList<bool> found(gold.size(), false);
    int correct = 0, defined = 0;
    for (const KeyTermEngine::Term& term : terms) {
        QStringList names{term.term};
        names += term.forms;
        bool hit = false;
        for (qsizetype g = 0; g < gold.size(); ++g)
            for (const QString& name : std::as_const(names))
                if (gold[g].contains(normalized(name))) {
                    hit = true;
                    found[g] = true;
                }
        correct += hit;
        defined += hasDefinition(term);
        if (verbose)
            std::printf("  %s %-32s %s\n", hit ? "+" : "-", qPrintable(term.term),
                        qPrintable(term.definition.left(90)));
    }
    if (verbose)
        for (qsizetype g = 0; g < gold.size(); ++g)
            if (!found[g])
                std::printf("  missed: %s\n", qPrintable(QStringList(gold[g].values()).join(" | ")));
    scores.terms = int(terms.size());
    scores.gold = int(gold.size());
    scores.recall = gold.isEmpty() ? 1 : double(std::count(found.begin(), found.end(), true)) / gold.size();
    scores.precision = terms.isEmpty() ? (gold.isEmpty() ? 1 : 0) : double(correct) / terms.size();
    scores.defined = terms.isEmpty() ? 1 : double(defined) / terms.size();
    for (int type = 0; type < 3; ++type)
        scores.questions[type] =
            int(QuizGenerator::generate({{"Notes", text}}, {questionTypes[type], "medium", {}, 10, 7},
                                        QuizRoutes::wordNetRelated, WordNet::coordinateTerms)
                    .questions.size());
    return scores;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString only;
    if (const qsizetype at = args.indexOf("--terms"); at >= 0 && at + 1 < args.size()) {
        only = args[at + 1];
        args.remove(at, 2);
    }
    const QDir corpus(args.value(0, QStringLiteral(ORBELO_CORPUS_DIR)));
    const QStringList notes = corpus.entryList({"*.md", "*.txt"}, QDir::Files, QDir::Name)
                                  .filter(QRegularExpression("^(?!README)"));
    std::printf("%-46s %6s %5s %6s %6s %7s %4s %4s %4s %8s\n", "note", "terms", "gold", "recall", "prec.",
                "defined", "MC", "TF", "FB", "ms");
    Scores sum;
    int counted = 0;
    QStringList book;
    for (const QString& note : notes) {
        const QString base = QFileInfo(note).completeBaseName();
        if (!only.isEmpty() && !base.contains(only))
            continue;
        const QString text = read(corpus.filePath(note));
        const Scores s = measure(text, read(corpus.filePath(base + ".terms")), !only.isEmpty());
        std::printf("%-46s %6d %5d %5.0f%% %5.0f%% %6.0f%% %4d %4d %4d %8.1f\n", qPrintable(base), s.terms,
                    s.gold, 100 * s.recall, 100 * s.precision, 100 * s.defined, s.questions[0],
                    s.questions[1], s.questions[2], s.millis);
        if (s.gold == 0)
            continue; // the bad-input notes have no terms to find
        ++counted;
        sum.recall += s.recall;
        sum.precision += s.precision;
        sum.defined += s.defined;
        sum.millis += s.millis;
        for (int type = 0; type < 3; ++type)
            sum.questions[type] += s.questions[type];
        book.append(text);
    }
    if (counted > 0)
        std::printf("%-46s %6s %5s %5.0f%% %5.0f%% %6.0f%% %4.1f %4.1f %4.1f %8.1f\n", "average", "", "",
                    100 * sum.recall / counted, 100 * sum.precision / counted, 100 * sum.defined / counted,
                    double(sum.questions[0]) / counted, double(sum.questions[1]) / counted,
                    double(sum.questions[2]) / counted, sum.millis / counted);
    if (!only.isEmpty() || book.isEmpty())
        return 0;
    // About 300 pages: the notes again and again as chapters, as a course reader would hold them.
    QStringList chapters;
    qsizetype chars = 0;
    for (int round = 0; chars < 900'000; ++round)
        for (const QString& text : std::as_const(book)) {
            chapters.append(QStringLiteral("# Chapter %1\n\n").arg(chapters.size() + 1) + text);
            chars += chapters.back().size();
        }
    const QString whole = chapters.join("\n\n");
    QElapsedTimer timer;
    timer.start();
    const qsizetype terms = KeyTermEngine::keyTerms({whole}).size();
    std::printf("\nbook of %lld characters (%lld chapters): %lld terms in %.2f s\n", qlonglong(whole.size()),
                qlonglong(chapters.size()), qlonglong(terms), double(timer.nsecsElapsed()) / 1e9);
    return 0;
}
