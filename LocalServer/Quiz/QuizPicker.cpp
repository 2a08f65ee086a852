#include "Quiz/QuizPicker.h"

#include <QHash>
#include <algorithm>

namespace {

template <typename T> void shuffle(QList<T>& list, QRandomGenerator& random) {
    for (qsizetype i = list.size() - 1; i > 0; --i)
        list.swapItemsAt(i, qsizetype(random.bounded(quint32(i + 1))));
}

} // namespace

QuizPicker::QuizPicker(QuizQuestionWriter& writer, int terms, QRandomGenerator& random)
    : writer_(writer), random_(random) {
    for (int t = 0; t < terms; ++t)
        termOrder_.append(t);
    shuffle(termOrder_, random_);
    QList<QuizPlan> plans = writer_.plans();
    shuffle(plans, random_);
    // Each term's plans alternate between its ways: the first of every way, then the second, …;
    // the ways in an order of the term's own.
    struct Placed {
        int round;
        quint32 wayOrder;
        QuizPlan plan;
    };
    QHash<quint64, int> seen;         // (term, way) → plans of it so far
    QHash<quint64, quint32> wayOrder; // (term, way) → its place among the term's ways
    QList<Placed> placed;
    for (const QuizPlan& plan : std::as_const(plans)) {
        const quint64 key = (quint64(plan.term) << 32) | quint64(plan.way);
        if (!wayOrder.contains(key))
            wayOrder.insert(key, random_.generate());
        placed.append({seen[key]++, wayOrder.value(key), plan});
    }
    std::stable_sort(placed.begin(), placed.end(), [](const Placed& a, const Placed& b) {
        return a.round != b.round ? a.round < b.round : a.wayOrder < b.wayOrder;
    });
    for (QList<QList<QuizPlan>>& queues : queues_)
        queues.resize(terms);
    for (const Placed& p : std::as_const(placed))
        if (p.plan.term >= 0 && p.plan.term < terms)
            queues_[p.plan.falsity][p.plan.term].append(p.plan);
}

QJsonArray QuizPicker::pick(int count) {
    QJsonArray questions;
    int taken[2] = {0, 0};
    bool exhausted[2] = {false, false};
    const bool balanced = writer_.balanced();
    // Once one side has run out, the other may lead it by one question at most.
    const auto mayTake = [&](bool falsity) {
        return !exhausted[falsity] && (!exhausted[!falsity] || taken[falsity] <= taken[!falsity]);
    };
    while (questions.size() < count) {
        const bool dealt = balanced && nextFalsity();
        QJsonObject question;
        for (const bool falsity : {dealt, !dealt}) {
            if (!mayTake(falsity) || (falsity && !balanced))
                continue;
            question = next(falsity);
            if (question.isEmpty()) {
                exhausted[falsity] = true;
                continue;
            }
            ++taken[falsity];
            break;
        }
        if (question.isEmpty())
            break;
        questions.append(question);
    }
    return questions;
}

QJsonObject QuizPicker::next(bool falsity) {
    for (const bool reuse : {false, true})
        if (QJsonObject question = next(falsity, reuse); !question.isEmpty())
            return question;
    return {};
}

QJsonObject QuizPicker::next(bool falsity, bool reuse) {
    QList<QList<QuizPlan>>& queues = queues_[falsity];
    for (int step = 0; step < termOrder_.size(); ++step) {
        const int at = (turn_[falsity] + step) % int(termOrder_.size());
        QList<QuizPlan>& queue = queues[termOrder_[at]];
        for (qsizetype i = 0; i < queue.size();) {
            if (!reuse && used_.contains(queue[i].material())) {
                ++i;
                continue;
            }
            const QuizPlan plan = queue.takeAt(i);
            const QJsonObject question = writer_.write(plan);
            const QString text = question.value("question").toString();
            if (question.isEmpty() || asked_.contains(text))
                continue;
            asked_.insert(text);
            used_.insert(plan.material());
            turn_[falsity] = at + 1;
            return question;
        }
    }
    return {};
}

bool QuizPicker::nextFalsity() {
    if (falsities_.isEmpty()) {
        falsities_ = {false, true};
        shuffle(falsities_, random_);
    }
    return falsities_.takeLast();
}
