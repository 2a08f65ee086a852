#include "Quiz/DistractorCloseness.h"

#include <QRegularExpression>
#include <algorithm>

namespace {

template <typename T> double overlap(const QSet<T>& a, const QSet<T>& b, bool dice) {
    if (a.isEmpty() || b.isEmpty())
        return 0;
    const QSet<T>& smaller = a.size() < b.size() ? a : b;
    const QSet<T>& larger = a.size() < b.size() ? b : a;
    qsizetype shared = 0;
    for (const T& item : smaller)
        shared += larger.contains(item);
    if (dice)
        return 2.0 * double(shared) / double(a.size() + b.size());
    return double(shared) / double(a.size() + b.size() - shared);
}

} // namespace

QSet<QString> DistractorCloseness::stems(const QString& text) {
    static const QRegularExpression word(R"([A-Za-z0-9][A-Za-z0-9'\-]*)");
    QSet<QString> out;
    for (auto it = word.globalMatch(text); it.hasNext();) {
        const QString lower = it.next().captured(0).toLower();
        auto found = stemOfWord_.constFind(lower);
        if (found == stemOfWord_.constEnd())
            found = stemOfWord_.insert(lower, stemmer_.stem(lower));
        out.insert(*found);
    }
    return out;
}

const DistractorCloseness::Features& DistractorCloseness::features(const QString& text) {
    auto found = features_.constFind(text);
    if (found != features_.constEnd())
        return *found;
    Features made;
    made.stems = stems(text);
    const QString lower = text.toLower().simplified();
    for (qsizetype at = 0; at + 3 <= lower.size(); ++at)
        made.trigrams.insert(lower.mid(at, 3));
    made.length = lower.size();
    return *features_.insert(text, made);
}

double DistractorCloseness::operator()(const QString& answer, const QString& other, bool related,
                                       bool sameSection) {
    // Copies: looking up the second may grow the table under a reference to the first.
    const Features a = features(answer);
    const Features b = features(other);
    const double length = std::max(a.length, b.length) == 0
                              ? 1.0
                              : double(std::min(a.length, b.length)) / double(std::max(a.length, b.length));
    return stemWeight * overlap(a.stems, b.stems, false) +
           trigramWeight * overlap(a.trigrams, b.trigrams, true) + lengthWeight * length +
           (related ? relatedWeight : 0.0) + (sameSection ? sectionWeight : 0.0);
}
