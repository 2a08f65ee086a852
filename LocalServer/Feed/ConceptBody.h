#pragma once

#include "Terms/KeyTermEngine.h"

#include <QString>

// The few lines a concept card shows, as plain text: the sentence of the user's notes that defines
// the term and the sentences nearest to it that name the term or point back to it ("It …" after a
// sentence about the term), in the order of the text. Each reads on its own (StandaloneSentence):
// a leading pronoun gives way to the term, and a sentence about something else is never added.
namespace ConceptBody {
constexpr int maxSentences = 4;
// Sentences are added while the body is shorter than this (at least two when the text has them).
constexpr int targetChars = 420;
// A sentence longer than this is cut at a word and ends with "…".
constexpr int maxSentenceChars = 320;

// The body of the card for `analysis.terms[term]`; empty when the text has no sentence about the
// term that reads on its own and no definition of it (StandaloneSentence::describes).
QString write(const KeyTermEngine::Analysis& analysis, int term);
} // namespace ConceptBody
