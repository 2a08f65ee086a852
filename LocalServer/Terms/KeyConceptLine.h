#pragma once

#include "Terms/KeyTermEngine.h"

#include <QString>

// A key concept as one line of study notes: the term as the text writes it and what it is or
// does, "Glycolysis — splits glucose into two pyruvate molecules in the cytoplasm". The
// explanation is the term's definition without the term restated ("Glycolysis is …"), in the
// text's own casing, cut to one line at a clause or a word.
namespace KeyConceptLine {
constexpr int maxExplanationChars = 110;
// A cut at a clause keeps at least this much.
constexpr int minClauseChars = 40;

// Empty when the term has no definition, or only another name for it ("also known as …").
QString of(const KeyTermEngine::Term& term);
} // namespace KeyConceptLine
