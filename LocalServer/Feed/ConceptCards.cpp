#include "ConceptCards.h"

#include "ConceptBody.h"
#include "ConceptDepth.h"
#include "FeedIds.h"
#include "VocabularyExtractor.h"

#include <QJsonObject>

namespace ConceptCards {

QList<Draft> drafts(const QString& text) {
    QList<Draft> made;
    const QStringList sentences = ConceptBody::plainSentences(text);
    for (const VocabularyExtractor::Term& term : VocabularyExtractor::keyTerms({text})) {
        const QString defining = term.sentence.isEmpty() ? term.definition : term.sentence;
        made.append({term.term, ConceptBody::write(term.term, defining, sentences),
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
    // Terms are found in lower case; a card's title starts with a capital.
    card.title = draft.term.left(1).toUpper() + draft.term.mid(1);
    card.body = draft.body;
    card.topic = topic;
    card.difficultyTier = draft.tier;
    return card;
}

} // namespace ConceptCards
