#pragma once

#include "Terms/KeyTermEngine.h"
#include "Terms/WordNet.h"

#include <QJsonArray>
#include <QList>
#include <QSet>
#include <QString>
#include <functional>

// Practice-test questions from a course's documents, deterministic for the same input and seed.
//
// The questions are written from KeyTermEngine's reading of the documents (QuizMaterial): the key
// terms with their definitions and forms, the sentences that name them, and the relations those
// sentences state. All are of one type, "multiple_choice" (MultipleChoiceQuestions), "true_false"
// (TrueFalseQuestions) or "fill_in_blank" (FillInBlankQuestions); QuizPicker spreads them over the
// terms, so a term is asked about again (another way, or from another sentence) only once every
// term has had its turn. The difficulty picks the wrong options by DistractorCloseness: "easy" the
// least close, "hard" the closest, "medium" at random (QuizDistractors). A topic keeps the
// passages about it (TopicPassages).
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
    // Terms under the same broader term as this one, with their senses; wrong options when the
    // course's own terms are too few.
    using SisterTerms = std::function<QList<WordNet::Coordinate>(const QString& term)>;
    struct Result {
        QJsonArray questions; // QuizQuestion records
        QString problem;      // why there are none, to show the user; empty when there are some
        QString note;         // why there are fewer than asked, to show with them; empty otherwise
    };

    static bool isQuestionType(const QString& type);
    static bool isDifficulty(const QString& difficulty);
    static QString nothingToQuiz();
    static QString notEnglish();

    // As many questions as the text allows, up to request.count.
    static Result generate(const QList<Source>& sources, const Request& request,
                           const RelatedWords& related = {}, const SisterTerms& sisters = {});
    // The same from the key-term engine's analysis of the documents (of the passages about the
    // topic, when there is one); `documents` names them by source.
    static Result fromAnalysis(KeyTermEngine::Analysis analysis, const QStringList& documents,
                               const Request& request, const RelatedWords& related = {},
                               const SisterTerms& sisters = {});
};
