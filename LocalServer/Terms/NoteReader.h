#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A student's notes as the blocks a reader sees: headings (Markdown "#" lines, and short title
// lines of their own as PDF and slide text gives them), prose paragraphs, list items and glossary
// lines ("term: meaning", "term — meaning"). Text from a scanner is repaired first: words broken
// at a line end are joined, page numbers and running headers dropped, hard-wrapped lines rejoined.
namespace NoteReader {

enum class Kind { heading, prose, item, glossary };

struct Block {
    Kind kind = Kind::prose;
    QString text;         // plain text: Markdown marks removed
    QStringList emphasis; // spans the author made bold or italic
    QString term;         // glossary lines: the term and what it means
    QString meaning;
};

constexpr int maxHeadingWords = 9;
constexpr int maxGlossaryTermWords = 6;
// Longer "term: …" lines are prose that happens to open with a colon.
constexpr int maxGlossaryMeaningWords = 60;

QList<Block> read(const QString& text);
// The text with scanning damage undone; exposed for tests.
QString repaired(const QString& text);

} // namespace NoteReader
