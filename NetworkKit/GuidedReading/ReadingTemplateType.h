#pragma once

#include <QString>

#include <array>
#include <utility>

// The styles in which the backend writes a reading guide.
enum class ReadingTemplateType { comprehensive, quickReview, deepDive, studyGuide, discussionPrep };

constexpr std::array<std::pair<ReadingTemplateType, const char*>, 5> jsonRawValues(ReadingTemplateType) {
    return {{{ReadingTemplateType::comprehensive, "comprehensive"},
             {ReadingTemplateType::quickReview, "quick_review"},
             {ReadingTemplateType::deepDive, "deep_dive"},
             {ReadingTemplateType::studyGuide, "study_guide"},
             {ReadingTemplateType::discussionPrep, "discussion_prep"}}};
}

inline QString displayName(ReadingTemplateType type) {
    switch (type) {
    case ReadingTemplateType::comprehensive:
        return QStringLiteral("Comprehensive");
    case ReadingTemplateType::quickReview:
        return QStringLiteral("Quick review");
    case ReadingTemplateType::deepDive:
        return QStringLiteral("Deep dive");
    case ReadingTemplateType::studyGuide:
        return QStringLiteral("Study guide");
    case ReadingTemplateType::discussionPrep:
        return QStringLiteral("Discussion prep");
    }
    return {};
}
