#include "ForYou/ForYouCardText.h"

namespace ForYouCardText {

QString difficultyLabel(std::optional<int> tier) {
    if (!tier)
        return QStringLiteral("Core");
    if (*tier <= 1)
        return QStringLiteral("Intro");
    if (*tier == 2)
        return QStringLiteral("Core");
    if (*tier == 3)
        return QStringLiteral("Advanced");
    return QStringLiteral("Expert");
}

QUrl videoUrl(const ForYouFeedItem& item) {
    const QString id = item.videoId.value_or(QString()).trimmed();
    if (id.isEmpty())
        return {};
    QUrl url(QStringLiteral("https://www.youtube.com/watch"));
    url.setQuery(QStringLiteral("v=") + QString::fromLatin1(QUrl::toPercentEncoding(id)));
    return url;
}

bool isCommunity(const ForYouFeedItem& item) {
    return item.cardSource.compare(QStringLiteral("community"), Qt::CaseInsensitive) == 0;
}

QString likesText(int count) {
    return QString::number(count) + QStringLiteral(" likes");
}

QString likeAccessibleName(const CardLikeState& state) {
    return (state.liked ? QStringLiteral("Unlike. ") : QStringLiteral("Like. ")) +
           likesText(state.likesCount);
}

QString readAloudText(const ForYouFeedItem& item) {
    return item.title.trimmed() + QStringLiteral(". ") + item.body.trimmed();
}

} // namespace ForYouCardText
