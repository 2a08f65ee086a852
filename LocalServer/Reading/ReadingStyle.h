#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// How much of each section a reading guide of one style holds. A section with 0 is left out.
//
// - "quick_review": a skim: few objectives, cues, terms and factual questions, no before/after
//   questions;
// - "comprehensive": every section at a moderate size;
// - "deep_dive": more cues, concepts, relationships and open questions, questions for exploration;
// - "study_guide": vocabulary- and question-heavy (mostly factual), action items for revision;
// - "discussion_prep": mostly open questions, questions for exploration and connections.
struct ReadingStyle {
    QString type;
    int objectives = 0;
    int cornellCues = 0;
    int keyConcepts = 0;
    int vocabulary = 0;
    int factualQuestions = 0;
    int openQuestions = 0;
    int beforeQuestions = 0;
    int afterQuestions = 0;
    int relationships = 0;
    int exploration = 0;
    int actionItems = 0;
    int readingTips = 0;
    bool connections = false;
    int wordsPerMinute = 200; // how fast the style expects the text to be read

    static const QStringList& types();
    static std::optional<ReadingStyle> named(const QString& type);
};
