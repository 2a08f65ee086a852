#include "Reading/ReadingStyle.h"

const QStringList& ReadingStyle::types() {
    static const QStringList list{"comprehensive", "quick_review", "deep_dive", "study_guide",
                                  "discussion_prep"};
    return list;
}

std::optional<ReadingStyle> ReadingStyle::named(const QString& type) {
    // type, objectives, cues, concepts, vocabulary, factual, open, before, after, relationships,
    // exploration, actions, tips, connections, words per minute
    if (type == "comprehensive")
        return ReadingStyle{type, 5, 8, 8, 10, 4, 2, 3, 3, 4, 0, 4, 4, true, 200};
    if (type == "quick_review")
        return ReadingStyle{type, 3, 3, 5, 5, 3, 0, 0, 0, 0, 0, 2, 2, false, 350};
    if (type == "deep_dive")
        return ReadingStyle{type, 6, 12, 12, 12, 5, 5, 3, 4, 8, 4, 4, 4, true, 150};
    if (type == "study_guide")
        return ReadingStyle{type, 5, 6, 8, 20, 10, 2, 0, 2, 0, 0, 5, 3, false, 200};
    if (type == "discussion_prep")
        return ReadingStyle{type, 4, 5, 6, 6, 1, 5, 3, 4, 4, 6, 3, 3, true, 200};
    return std::nullopt;
}
