#include "Feed/FeedCard.h"

QJsonObject FeedCard::toJson() const {
    QJsonObject record{{"card_id", cardId},         {"concept_id", conceptId}, {"card_type", cardType},
                       {"card_source", cardSource}, {"title", title},          {"body", body},
                       {"likes_count", likesCount}};
    if (!topic.isEmpty())
        record.insert("topic", topic);
    if (difficultyTier > 0)
        record.insert("difficulty_tier", difficultyTier);
    if (!authorName.isEmpty())
        record.insert("author_name", authorName);
    if (!mnemonicHtml.isEmpty())
        record.insert("mnemonic_html", mnemonicHtml);
    return record;
}
