#pragma once

#include <QList>
#include <QString>

// The ways a sentence of notes defines a term:
// - "X is/are a …", "X is defined as …", "X refers to …", "X means …", "X describes …";
// - "X, also called Y, …" and "X (also known as Y) …": Y is another name of X;
// - "… is called X", "… is known as X", "… are termed X": the subject defines X;
// - "[They] call this … X": the sentence before describes X;
// - "X, a …, …": an appositive after the sentence's first noun phrase;
// - "expansion (ACR)" and "ACR (expansion)": an acronym and what it stands for.
namespace DefinitionPatterns {

struct Found {
    QString term;
    QString definition;       // the defining clause as written; empty when the previous sentence defines it
    QString otherName;        // an alias or acronym the sentence gives
    bool acronymOnly = false; // only an acronym and its expansion, no definition
};

constexpr int maxTermWords = 5;

QList<Found> find(const QString& sentence);
// Within one clause of a run-on sentence also "X = Y", "X: Y" and "X is Y" without an article.
QList<Found> findInClause(const QString& clause);
// Whether the sentence opens "X, a …,": find() reads that appositive itself.
bool startsWithAppositive(const QString& sentence);
// Whether `acronym` can stand for `words`: its letters in order, the first on the first word.
bool abbreviates(const QString& acronym, const QString& words);

} // namespace DefinitionPatterns
