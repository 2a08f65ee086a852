#pragma once

#include <QString>
#include <QStringList>

// Word-level rules of key terms: which words can start or be a term, how a term is written, and
// how a sentence becomes a definition.
namespace TermWords {

bool isArticle(const QString& lowerWord);
// Function words and pronouns: never a term's first or only word.
bool isStopWord(const QString& lowerWord);
// "first", "main", "important": dropped from the front of a noun phrase.
bool isWeakModifier(const QString& lowerWord);
// "process", "type", "example": not a term on their own.
bool isGenericNoun(const QString& lowerPhrase);
// "ATP", "NADH", "FADH2", "acetyl-CoA", "pH": written with capitals that carry meaning.
bool isAcronymLike(const QString& word);
// Whether a phrase at a sentence start keeps its capital there: a name or an acronym.
bool keepsCapital(const QString& phrase);

// Markup, brackets and trailing punctuation removed, white space simplified.
QString cleaned(const QString& term);
// One to five words, starting with neither a function word nor a number, with a letter in it.
bool isPlausible(const QString& term);
// The term as written inside a sentence: "Glycolysis" → "glycolysis", "ATP" and "Krebs cycle" kept.
QString withoutLeadingCapital(const QString& term);

// The terms a heading names: numbering and course furniture ("Week 3:", "Lecture 2 –") dropped,
// "Title: Subtitle" split, "Aerobic and anaerobic respiration" read as two terms; a generic
// heading ("Introduction", "Key terms") or one that reads as a sentence names none.
QStringList termsOfHeading(const QString& heading);

// A definition from a clause or sentence: trimmed to maxDefinitionChars at a word, first letter
// upper case, no final full stop.
QString definitionText(const QString& clause);
// A sentence that opens with a pronoun ("It", "They", "This process") standing for the term,
// with the term in its place; other sentences unchanged.
QString withPronounResolved(const QString& sentence, const QString& term);
// A sentence of at least this many words is read clause by clause as well.
constexpr int runOnWords = 45;
// The sentence's clauses: split at commas, semicolons and arrows.
QStringList clauses(const QString& sentence);
// The clauses after a colon, a semicolon or ", and" / ", while" / ", whereas" / ", but", each
// of which may define a term of its own.
QStringList joinedClauses(const QString& sentence);
// From a run-on sentence, the clause that names the term (with the next when it is short);
// a sentence of fewer than runOnWords words whole.
QString clauseAbout(const QString& sentence, const QString& term);
// Whether a sentence opens with a pronoun whose noun it does not name.
bool startsWithPronoun(const QString& sentence);

} // namespace TermWords
