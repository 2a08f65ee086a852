#pragma once

#include "Terms/KeyTermEngine.h"

#include <QList>
#include <QString>
#include <QStringList>

// Sentences of the notes quoted away from the sentence before them, as on a card, in a summary or
// in a reading guide. A sentence that opens with a pronoun ("It", "They", "He", "She", "This",
// "These", "That", "Those", "Its", "Their", …) points back to what came before; quoted on its own,
// the pronoun gives way to the key term that sentence is about, and when that cannot be told the
// sentence is left out. "This process …" is about the term when the term's definition names a
// process; "This means …" and "This is why …" point back to a whole statement and are left out.
namespace StandaloneSentence {

// Whether the sentence opens with a word that points back ("It is hot" does; "It is worth noting
// that …" does not).
bool pointsBack(const QString& sentence);

// Whether the line is a title the text reads as a sentence: prose that does not end like one
// ("2.3 Supply, Demand and Market Equilibrium").
bool isTitle(const KeyTermEngine::Sentence& sentence);

// The key term a sentence is about: the first one it names or, for one that points back, the term
// the sentences before it in the same text and section are about. -1 when there is none.
int subject(const KeyTermEngine::Analysis& analysis, int sentence);

// The sentence as it reads about `term` on its own: as written when it does not point back, with
// the pronoun replaced by the term when it is the sentence's subject, else empty.
QString about(const KeyTermEngine::Analysis& analysis, int sentence, int term);

// The sentence `analysis.terms[term]`'s definition comes from; -1 when it is none of the sentences.
int definingSentence(const KeyTermEngine::Analysis& analysis, int term);

// Whether the term's definition is about it: the text states it as a definition, or the sentence
// it comes from, read on its own, opens with the term as its subject ("An enzyme speeds up a
// reaction" says what an enzyme does, not what a reaction is; "They work best at body
// temperature" after a sentence about enzymes says nothing of body temperature).
bool describes(const KeyTermEngine::Analysis& analysis, int term);

// Chosen sentences (indexes, in text order) as they are quoted together: one that directly follows
// the previous quoted one in the text keeps its words, any other reads on its own (`about` its
// subject); those that cannot are left out.
QStringList quote(const KeyTermEngine::Analysis& analysis, const QList<int>& sentences);

} // namespace StandaloneSentence
