#pragma once

#include "Quiz/QuizQuestionWriter.h"

#include <QJsonArray>
#include <QRandomGenerator>

// Picks a quiz's questions from a writer's plans. The terms take turns, in an order shuffled by
// the seed, so that the quiz spreads over all of them before it asks about one again; each term's
// ways of asking take turns too. A sentence (or definition) serves a second question only when no
// unused one can, and no question is asked twice. True and false statements are dealt in shuffled
// pairs; when one side runs out, the quiz ends at most one question past it.
class QuizPicker {
public:
    QuizPicker(QuizQuestionWriter& writer, int terms, QRandomGenerator& random);

    // Up to `count` questions.
    QJsonArray pick(int count);

private:
    QJsonObject next(bool falsity);
    QJsonObject next(bool falsity, bool reuse);
    bool nextFalsity();

    QuizQuestionWriter& writer_;
    QRandomGenerator& random_;
    QList<int> termOrder_;
    QList<QList<QuizPlan>> queues_[2]; // by falsity, then term
    int turn_[2] = {0, 0};             // the position in termOrder_ whose term goes next
    QSet<int> used_;                   // QuizPlan::material
    QSet<QString> asked_;
    QList<bool> falsities_;
};
