#pragma once

#include "Terms/KeyTermEngine.h"

#include <QJsonArray>
#include <QList>

// A course's key terms, best first, as the VocabularyTerm records the app reads: term,
// definition, importance ("high" for the first ten, "medium" for the next ten, then "low") and
// context (another sentence of the text using the term, or null).
namespace VocabularyJson {
constexpr int highTerms = 10;
constexpr int mediumTerms = 10;

QJsonArray records(const QList<KeyTermEngine::Term>& terms);
} // namespace VocabularyJson
