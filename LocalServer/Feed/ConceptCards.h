#pragma once

#include "Feed/FeedCard.h"

#include <QJsonArray>
#include <QList>
#include <QString>

// Concept cards made from one processed document: one for each of its key terms (KeyTermEngine)
// that the text says something of, titled with the term, with a body from the sentences that define and use
// it (ConceptBody) and a difficulty from how deep the term goes (ConceptDepth).
namespace ConceptCards {

// What a document gives, before it is tied to a user; kept so that a document is read once.
struct Draft {
    QString term;
    QString body;
    int tier = 1;
};

QList<Draft> drafts(const QString& text);
QJsonArray toJson(const QList<Draft>& drafts);
QList<Draft> fromJson(const QJsonArray& array);
// The user's card for a draft: its ids depend on the user and the term (in lower case) alone,
// so a term that two documents define is one concept.
FeedCard card(const QString& userId, const Draft& draft, const QString& topic);
QString conceptKey(const QString& term);

} // namespace ConceptCards
