#pragma once

#include "Terms/KeyTermEngine.h"

#include <QList>
#include <QString>

// A summary that goes through a text part by part: each section (the text before the first heading
// too) gives its best sentence, and a long one a second while the summary stays short, in the order
// of the text. A text without headings is read as consecutive parts of about `partSentences`
// sentences; more than `maxParts` sections are grouped with their neighbours. A sentence scores by
// how central its words are to the whole text (the sum of their frequencies over the square root of
// its length), the key terms it names and whether it defines one; wherever it stands in its part.
// Sentences read on their own (StandaloneSentence). A variant above 0 words the summary anew: each
// part leads with its next best sentence among its best `alternates`, in turn.
namespace SectionSummary {
constexpr int maxParts = 10;
constexpr int partSentences = 6;
// A part of at least this many sentences may give a second one.
constexpr int longPart = 4;
// Second sentences are added while the summary stays within this.
constexpr int maxChars = 1400;
// Longer sentences are taken only from a part without shorter ones.
constexpr int maxSentenceChars = 350;
// Shorter ones ("One NADH per pyruvate.") are notes, not sentences to sum up with.
constexpr int minWords = 6;
// How many of a part's best sentences variants take turns with.
constexpr int alternates = 3;

// The parts, each the indexes of its sentences (headings left out), in text order.
QList<QList<int>> parts(const KeyTermEngine::Analysis& analysis);
QString write(const KeyTermEngine::Analysis& analysis, int variant = 0);
} // namespace SectionSummary
