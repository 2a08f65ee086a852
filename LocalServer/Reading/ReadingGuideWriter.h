#pragma once

#include "Reading/ReadingStyle.h"

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

// Writes a reading guide (a GuidedReadingTemplate record) from a course's or a document's own text,
// deterministic for the same input. Terms, definitions and sections come from KeyTermEngine:
// - learning objectives from the text's headings, key terms and key concepts;
// - Cornell notes: passages spread over the sections, each summed up by its first sentences (the
//   notes column) under a question about the term or heading it covers (the cue column);
// - a summary covering each section (Summarizer);
// - key concepts: the first key terms with a one-line explanation (KeyConceptLine); the central
//   concept is the first heading, else the first key term;
// - vocabulary: the key terms with their definitions and a sentence of the text that uses them;
// - comprehension questions: factual ones asking for a term's definition (expected answer: the
//   definition), open ones over two terms one sentence relates or over a section, answered by an
//   outline; questions before reading (previewing the headings) and after it (reflection);
// - connections, questions for exploration, action items and reading tips;
// - the estimated reading time: the word count at the style's reading speed, in whole minutes.
// Every sentence quoted from the text reads on its own (StandaloneSentence). The style
// (ReadingStyle) decides how many of each the guide holds.
class ReadingGuideWriter {
public:
    struct Source {
        QString title;
        QString text;
    };
    struct Request {
        ReadingStyle style;
        QString chapterTitle; // the document's title, or the course's name
        QString bookTitle;    // the course's name when the guide is for one document
        QString templateId;
        QString createdAt;
    };

    static QJsonObject write(const QList<Source>& sources, const Request& request);
    static int estimatedMinutes(const QStringList& texts, int wordsPerMinute);
};
