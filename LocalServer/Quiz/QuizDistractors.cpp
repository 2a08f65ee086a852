#include "Quiz/QuizDistractors.h"

#include <algorithm>

QuizDistractors::QuizDistractors(const QuizMaterial& material, const QString& difficulty,
                                 QuizGenerator::RelatedWords related, QuizGenerator::SisterTerms sisters,
                                 QRandomGenerator& random)
    : material_(material), difficulty_(difficulty), related_(std::move(related)),
      sisters_(std::move(sisters)), random_(random) {}

QList<int> QuizDistractors::ranked(int answer, const Choice& choice) {
    const QString answerText = choice.text(answer);
    const KeyTermEngine::Term& asked = material_.terms()[answer];
    QList<Candidate> candidates;
    QList<int> terms;
    for (int i = 0; i < material_.terms().size(); ++i) {
        if (material_.alike(answer, i) || (choice.excluded && choice.excluded(i)))
            continue;
        const QString text = choice.text(i);
        if (text.isEmpty())
            continue;
        const KeyTermEngine::Term& other = material_.terms()[i];
        const bool sameSection = other.text == asked.text && other.heading == asked.heading;
        candidates.append({text, i, choice.tier ? choice.tier(i) : 0,
                           closeness_(answerText, text, related(answer, i), sameSection),
                           random_.generate()});
    }
    sort(candidates);
    for (const Candidate& candidate : std::as_const(candidates))
        terms.append(candidate.term);
    return terms;
}

QStringList QuizDistractors::pick(int answer, int wanted, const Choice& choice) {
    const QString answerText = choice.text(answer);
    QSet<QString> taken{TermForms::key(answerText)};
    QStringList chosen;
    const auto take = [&](const QString& text) {
        const QString key = TermForms::key(text);
        if (chosen.size() >= wanted || key.isEmpty() || taken.contains(key))
            return;
        taken.insert(key);
        chosen.append(text);
    };
    QList<int> offered;
    for (const int term : ranked(answer, choice)) {
        // Two forms of one term would be two options right or wrong together.
        if (std::any_of(offered.begin(), offered.end(),
                        [&](int other) { return material_.alike(term, other); }))
            continue;
        const qsizetype before = chosen.size();
        take(choice.text(term));
        if (chosen.size() > before)
            offered.append(term);
    }
    if (chosen.size() >= wanted || !choice.sisterText || !sisters_)
        return chosen;
    QList<Candidate> sisters;
    for (const WordNet::Coordinate& sister : sistersOf(answer)) {
        // A course term was weighed above, and may have been left out for being right as well.
        const QString text = choice.sisterText(sister);
        if (text.isEmpty() || isCourseTerm(sister.term))
            continue;
        sisters.append({text, -1, 0, closeness_(answerText, text, false, false), random_.generate()});
    }
    sort(sisters);
    for (const Candidate& sister : std::as_const(sisters))
        take(sister.text);
    return chosen;
}

void QuizDistractors::sort(QList<Candidate>& candidates) const {
    const bool medium = difficulty_ == QLatin1String("medium");
    const bool hard = difficulty_ == QLatin1String("hard");
    std::stable_sort(candidates.begin(), candidates.end(), [&](const Candidate& a, const Candidate& b) {
        if (a.tier != b.tier)
            return a.tier < b.tier;
        if (medium || a.closeness == b.closeness)
            return a.tieBreak < b.tieBreak;
        return hard ? a.closeness > b.closeness : a.closeness < b.closeness;
    });
}

bool QuizDistractors::related(int a, int b) {
    if (!related_)
        return false;
    const auto wordsOf = [this](int term) {
        auto found = relatedWords_.constFind(term);
        if (found == relatedWords_.constEnd())
            found = relatedWords_.insert(term, related_(material_.terms()[term].term));
        return *found;
    };
    return wordsOf(a).contains(material_.terms()[b].term.toLower()) ||
           wordsOf(b).contains(material_.terms()[a].term.toLower());
}

const QList<WordNet::Coordinate>& QuizDistractors::sistersOf(int term) {
    auto found = sisterTerms_.constFind(term);
    if (found == sisterTerms_.constEnd())
        found = sisterTerms_.insert(term, sisters_(material_.terms()[term].term));
    return *found;
}

bool QuizDistractors::isCourseTerm(const QString& text) const {
    for (int i = 0; i < material_.terms().size(); ++i)
        if (material_.forms(i).isForm(text))
            return true;
    return false;
}
