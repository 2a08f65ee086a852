#pragma once

#include "Quiz/DistractorCloseness.h"
#include "Quiz/QuizGenerator.h"
#include "Quiz/QuizMaterial.h"

#include <QHash>
#include <QRandomGenerator>
#include <functional>

// The wrong options of a question, and the terms a false statement swaps in. Other key terms of
// the course come first: those that fit the question's kind best, then the rest, each group in the
// difficulty's order of closeness to the answer (DistractorCloseness; "easy" the least close,
// "hard" the closest, "medium" at random). WordNet's sister terms of the answer fill what the
// course cannot. A term one with the answer (TermForms, a definition alike) is never offered, nor
// two options that read alike.
class QuizDistractors {
public:
    struct Choice {
        std::function<QString(int term)> text;  // a term's option; empty when it cannot be one
        std::function<bool(int term)> excluded; // right as well, or unfit; may be empty
        std::function<int(int term)> tier;      // how well it fits the kind, lower first; may be empty
        // A sister term's option, empty when it cannot be one; no sister terms when unset.
        std::function<QString(const WordNet::Coordinate&)> sisterText;
    };

    QuizDistractors(const QuizMaterial& material, const QString& difficulty,
                    QuizGenerator::RelatedWords related, QuizGenerator::SisterTerms sisters,
                    QRandomGenerator& random);

    // The other terms of the course the choice allows, best first.
    QList<int> ranked(int answer, const Choice& choice);
    // Up to `wanted` wrong options' texts, best first.
    QStringList pick(int answer, int wanted, const Choice& choice);

private:
    struct Candidate {
        QString text;
        int term = -1; // -1 for a sister term
        int tier = 0;
        double closeness = 0;
        quint32 tieBreak = 0;
    };
    void sort(QList<Candidate>& candidates) const;
    bool related(int a, int b);
    const QList<WordNet::Coordinate>& sistersOf(int term);
    bool isCourseTerm(const QString& text) const;

    const QuizMaterial& material_;
    const QString difficulty_;
    const QuizGenerator::RelatedWords related_;
    const QuizGenerator::SisterTerms sisters_;
    QRandomGenerator& random_;
    DistractorCloseness closeness_;
    QHash<int, QSet<QString>> relatedWords_;
    QHash<int, QList<WordNet::Coordinate>> sisterTerms_;
};
