#include "Feed/ConceptCards.h"

#include "Feed/ConceptBody.h"
#include "Feed/ConceptDepth.h"
#include "Feed/FeedIds.h"
#include "Terms/KeyTermEngine.h"
#include "Terms/TermCasing.h"

#include <QJsonObject>

namespace ConceptCards {

QList<Draft> drafts(const QString& text) {
    QList<Draft> made;
    const KeyTermEngine::Analysis analysis = KeyTermEngine::analyze({text});
    for (int i = 0; i < analysis.terms.size(); ++i) {
        const KeyTermEngine::Term& term = analysis.terms[i];
        if (const QString body = ConceptBody::write(analysis, i); !body.isEmpty())
            made.append({term.term, body,
                         ConceptDepth::tier(ConceptDepth::measure(term.term, term.definition, text))});
    }
    return made;
}

QJsonArray toJson(const QList<Draft>& drafts) {
    QJsonArray array;
    for (const Draft& draft : drafts)
        array.append(QJsonObject{{"term", draft.term}, {"body", draft.body}, {"tier", draft.tier}});
    return array;
}

QList<Draft> fromJson(const QJsonArray& array) {
    QList<Draft> drafts;
    for (const QJsonValue& value : array) {
        const QJsonObject draft = value.toObject();
        drafts.append(
            {draft.value("term").toString(), draft.value("body").toString(), draft.value("tier").toInt(1)});
    }
    return drafts;
}

QString conceptKey(const QString& term) {
    return term.toLower().simplified();
}

FeedCard card(const QString& userId, const Draft& draft, const QString& topic) {
    FeedCard card;
    const QString key = conceptKey(draft.term);
    card.cardId = FeedIds::make("card", {userId, "concept", key});
    card.conceptId = FeedIds::make("concept", {userId, key});
    card.cardType = "concept";
    card.cardSource = "notes";
    card.title = TermCasing::opening(draft.term);
    card.body = draft.body;
    card.topic = topic;
    card.difficultyTier = draft.tier;
    return card;
}

} // namespace ConceptCards
