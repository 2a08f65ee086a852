#pragma once

#include <QJsonArray>
#include <QList>
#include <QSet>
#include <QString>
#include <functional>

// Practice-test questions from a course's documents, deterministic for the same input and seed.
//
// The questions are built on the key terms VocabularyExtractor finds (a term, its definition and
// its defining sentence), at most one question per term, all of one type:
// - "multiple_choice": a definition asks for its term, or a term for its definition; four options,
//   the three wrong ones other terms (or their definitions) of the same course;
// - "true_false": a definition paired with its own term (True) or with another term (False);
// - "fill_in_blank": the defining sentence with the term cut out.
// The difficulty picks the wrong options by DistractorCloseness: "easy" the least close, "hard" the
// closest, "medium" at random. A topic keeps only the paragraphs that mention all its word stems,
// and the sections whose markdown heading does.
class QuizGenerator {
public:
    static constexpr int minQuestions = 1;
    static constexpr int maxQuestions = 20;
    static constexpr int choices = 4;
    static constexpr auto blank = "_____";

    struct Source {
        QString name; // the document's title, shown in explanations
        QString text;
    };
    struct Request {
        QString questionType; // "multiple_choice", "true_false" or "fill_in_blank"
        QString difficulty;   // "easy", "medium" or "hard"
        QString topic;        // empty: all of the text
        int count = 10;
        quint32 seed = 0;
    };
    // Lower-case words that WordNet relates to a term (synonyms, broader terms); may be empty.
    using RelatedWords = std::function<QSet<QString>(const QString& term)>;
    struct Result {
        QJsonArray questions; // QuizQuestion records
        QString problem;      // why there are none, to show the user; empty when there are some
    };

    static bool isQuestionType(const QString& type);
    static bool isDifficulty(const QString& difficulty);
    static QString nothingToQuiz();

    // As many questions as the text allows, up to request.count.
    static Result generate(const QList<Source>& sources, const Request& request,
                           const RelatedWords& related = {});
};
