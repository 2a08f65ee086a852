#pragma once

#include <QString>
#include <QStringList>

// The few lines a concept card shows, as plain text: the sentence of the user's notes that
// defines the term, then the sentences that use it, in the order of the text.
namespace ConceptBody {
constexpr int maxSentences = 4;
// Sentences are added while the body is shorter than this (at least two when the text has them).
constexpr int targetChars = 420;
// A sentence longer than this is cut at a word and ends with "…".
constexpr int maxSentenceChars = 320;

// The text's sentences with Markdown removed: headings, tables, list bullets and numbers,
// emphasis and code marks, links (their text kept). A list item or glossary line is a sentence of
// its own.
QStringList plainSentences(const QString& text);
// 1 to maxSentences sentences: `defining` first, then others of `sentences` that name the term
// (or its plural), else the sentence after the defining one.
QString write(const QString& term, const QString& defining, const QStringList& sentences);
} // namespace ConceptBody
