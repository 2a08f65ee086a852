#include "Quiz/QuizMaterial.h"

#include <algorithm>

namespace {

constexpr int minSentenceWords = 5;
constexpr int maxSentenceWords = 45;

// What a frame holds in place of a term: a word that survives TermForms::key, never shown.
const QString frameBlank = QStringLiteral("_term_");

} // namespace

QuizMaterial::QuizMaterial(KeyTermEngine::Analysis analysis)
    : analysis_(std::move(analysis)), mentions_(analysis_.sentences.size()),
      sentencesOf_(analysis_.terms.size()) {
    for (const KeyTermEngine::Term& term : std::as_const(analysis_.terms))
        forms_.append(TermForms(term));
    QHash<QString, int> sentenceByText;
    for (int s = 0; s < analysis_.sentences.size(); ++s) {
        const KeyTermEngine::Sentence& sentence = analysis_.sentences[s];
        sentenceByText.insert(sentence.text.simplified(), s);
        QList<TermMention> found;
        for (const int term : sentence.terms) {
            if (term < 0 || term >= forms_.size())
                continue;
            for (auto it = forms_[term].pattern().globalMatch(sentence.text); it.hasNext();) {
                const QRegularExpressionMatch match = it.next();
                found.append({term, match.capturedStart(), match.capturedEnd()});
            }
        }
        // A longer term wins over one written inside it: "cell membrane" over "membrane".
        std::sort(found.begin(), found.end(), [](const TermMention& a, const TermMention& b) {
            return a.start != b.start ? a.start < b.start : a.end > b.end;
        });
        qsizetype reached = 0;
        for (const TermMention& mention : std::as_const(found)) {
            if (mention.start < reached)
                continue;
            mentions_[s].append(mention);
            reached = mention.end;
        }
        for (const int term : termsIn(s)) {
            sentencesOf_[term].append(s);
            framed_[frame(s, term)].append(term);
        }
        relations_.append(StatedRelation::in(sentence.text, s, mentions_[s]));
    }
    for (int t = 0; t < analysis_.terms.size(); ++t) {
        const auto found = sentenceByText.constFind(analysis_.terms[t].sentence.simplified());
        if (found != sentenceByText.constEnd())
            definingSentence_.insert(t, *found);
    }
    countArticles();
}

void QuizMaterial::countArticles() {
    static const QRegularExpression article(R"((?:^|\s)(the|an?)\s+$)",
                                            QRegularExpression::CaseInsensitiveOption);
    QList<QHash<QString, int>> counts(analysis_.terms.size());
    for (int s = 0; s < analysis_.sentences.size(); ++s)
        for (const TermMention& mention : std::as_const(mentions_[s])) {
            const QString before = analysis_.sentences[s].text.left(mention.start).right(5);
            const QString found = article.match(before).captured(1).toLower();
            ++counts[mention.term][found == QLatin1String("an") ? QStringLiteral("a") : found];
        }
    for (int t = 0; t < counts.size(); ++t) {
        QString usual;
        for (const QString candidate : {"the", "a"})
            if (counts[t].value(candidate) > counts[t].value(usual))
                usual = candidate;
        usualArticle_.insert(t, usual);
    }
}

bool QuizMaterial::hedges(int sentence) const {
    static const QRegularExpression pattern(
        R"(\b(?:not|no|never|neither|nor|cannot|can|could|may|might|unlike|like|except|without|instead|)"
        R"(rather|whereas|but|or|also|both|too|either|similar|similarly|as well)\b|n't\b)",
        QRegularExpression::CaseInsensitiveOption);
    return pattern.match(analysis_.sentences[sentence].text).hasMatch();
}

int QuizMaterial::fitsPlace(int term, const StatedRelation& relation, bool subject) const {
    int best = 2;
    for (const StatedRelation& r : relations_)
        if ((subject ? r.subject.term : r.object.term) == term)
            best = std::min(best, r.kind == relation.kind ? 0 : 1);
    return best;
}

QList<int> QuizMaterial::termsIn(int sentence) const {
    QList<int> out;
    for (const TermMention& mention : mentions_[sentence])
        if (!out.contains(mention.term))
            out.append(mention.term);
    return out;
}

bool QuizMaterial::standsAlone(int sentence) const {
    static const QRegularExpression pointsBack(
        R"(^(?:it|its|they|their|them|this|these|that|those|such|he|she|his|her|here|there|both|another|the latter|the former)\b)",
        QRegularExpression::CaseInsensitiveOption);
    const KeyTermEngine::Sentence& s = analysis_.sentences[sentence];
    const QString text = s.text.trimmed();
    const qsizetype words = text.split(' ', Qt::SkipEmptyParts).size();
    return s.prose && text.endsWith('.') && !text.contains('?') && words >= minSentenceWords &&
           words <= maxSentenceWords && !pointsBack.match(text).hasMatch();
}

bool QuizMaterial::alike(int a, int b) const {
    if (a == b || forms_[a].sharesFormWith(forms_[b]))
        return true;
    const QString definition = TermForms::key(analysis_.terms[a].definition);
    return !definition.isEmpty() && definition == TermForms::key(analysis_.terms[b].definition);
}

bool QuizMaterial::alsoSaid(int sentence, int term, int other) const {
    if (framed_.value(frame(sentence, term)).contains(other))
        return true;
    const QList<const StatedRelation*> stated = relationsOf(sentence, term);
    return std::any_of(stated.begin(), stated.end(), [&](const StatedRelation* relation) {
        return statesWith(*relation, relation->subject.term == term, other);
    });
}

QList<const StatedRelation*> QuizMaterial::relationsOf(int sentence, int term) const {
    QList<const StatedRelation*> found;
    for (const StatedRelation& relation : relations_)
        if (relation.sentence == sentence && (relation.subject.term == term || relation.object.term == term))
            found.append(&relation);
    return found;
}

bool QuizMaterial::namedTogether(int term, const QList<int>& others) const {
    if (others.isEmpty())
        return false;
    return std::any_of(sentencesOf_[term].begin(), sentencesOf_[term].end(), [&](int sentence) {
        const QList<int> named = termsIn(sentence);
        return std::all_of(others.begin(), others.end(), [&](int t) { return named.contains(t); });
    });
}

bool QuizMaterial::statesWith(const StatedRelation& relation, bool inPlaceOfSubject, int other) const {
    return std::any_of(relations_.begin(), relations_.end(), [&](const StatedRelation& r) {
        if (r.kind != relation.kind)
            return false;
        return inPlaceOfSubject ? r.subject.term == other && r.object.term == relation.object.term
                                : r.subject.term == relation.subject.term && r.object.term == other;
    });
}

QString QuizMaterial::frame(int sentence, int term) const {
    return TermForms::key(forms_[term].masked(analysis_.sentences[sentence].text, frameBlank));
}
