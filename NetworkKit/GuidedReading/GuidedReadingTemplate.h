#pragma once

#include "GRComprehensionQuestion.h"
#include "GRVocabularyTerm.h"
#include "JsonRecord.h"

// Which optional blocks are filled depends on templateType.
struct GuidedReadingTemplate {
    QString templateId;
    QString chapterTitle;
    std::optional<QString> bookTitle;
    std::optional<QString> contentSummary;
    std::optional<QList<QString>> keyConcepts;
    std::optional<QList<GRVocabularyTerm>> vocabulary;
    std::optional<QList<GRComprehensionQuestion>> comprehensionQuestions;
    std::optional<QList<QString>> learningObjectives;
    std::optional<QList<QString>> readingTips;
    std::optional<int> estimatedTime;
    std::optional<int> week;
    std::optional<QString> dueDate;
    std::optional<QString> templateType;
    std::optional<QList<QString>> cornellLeftColumn;
    std::optional<QList<QString>> cornellRightColumn;
    std::optional<QString> centralConcept;
    std::optional<QList<QString>> keyRelationships;
    std::optional<QList<GRComprehensionQuestion>> beforeReadingQuestions;
    std::optional<QList<GRComprehensionQuestion>> afterReadingQuestions;
    std::optional<QString> connections;
    std::optional<QList<QString>> questionsForExploration;
    std::optional<QList<QString>> actionItems;
    std::optional<QString> createdAt;
    JSON_RECORD(GuidedReadingTemplate, templateId, chapterTitle, bookTitle, contentSummary, keyConcepts,
                vocabulary, comprehensionQuestions, learningObjectives, readingTips, estimatedTime, week,
                dueDate, templateType, cornellLeftColumn, cornellRightColumn, centralConcept,
                keyRelationships, beforeReadingQuestions, afterReadingQuestions, connections,
                questionsForExploration, actionItems, createdAt)
};
