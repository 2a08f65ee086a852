#pragma once

#include "Terms/KeyTerm.h"

#include <QList>
#include <QString>
#include <QStringList>

// The phrasing every kind of mnemonic shares: how a term and its meaning are told at each
// difficulty, and the small English inflections the word games need.
namespace MnemonicPhrasing {
// FNV-1a: the same choices for the same terms in every run (qHash is seeded per process).
quint32 stableHash(const QString& text, quint32 salt = 0);
// The first letter of a term, lower-case and without its accent: "Émile" → "e". Null when the
// term has no letter.
QChar initialOf(const QString& term);
QString capitalized(QString text);
// How many words of a definition each difficulty tells.
int definitionWords(const QString& difficulty);
// The first `maxWords` words, an ellipsis marking a cut.
QString shortened(const QString& text, int maxWords);
// The term and what it means as one clause: "osmosis is the movement of water …". Definitions
// that already name the term ("The sodium-potassium pump moves …") stand as they are.
QString describe(const KeyTerm& term, const QString& difficulty);
// `text` followed by the term's sentence from the text, told only at the hardest difficulty.
QString withContext(const QString& text, const KeyTerm& term, const QString& difficulty);
// A guide's summary, naming the topic when there is one.
QString summaryFor(const QString& topic, const QString& text);
QStringList termNames(const QList<KeyTerm>& terms);

enum class Form { plain, thirdPerson, plural };
// "watch" → "watches", "carry" → "carries", "cat" → "cats"; the plain form unchanged.
QString inflected(const QString& word, Form form);
} // namespace MnemonicPhrasing
