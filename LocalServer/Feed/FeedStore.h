#pragma once

#include "Feed/ConceptCards.h"
#include "Feed/FeedHistory.h"

#include <QHash>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <optional>

struct ServerContext;

// The feed's tables: what users did with its cards (foryou_events), their likes (foryou_likes)
// and the concept drafts read from each document (foryou_concepts), kept so that a document's
// text is read once rather than on every feed.
class FeedStore {
public:
    // Skips older than this no longer weigh on a card and are not read.
    static constexpr qint64 skipMemoryMs = 30LL * 86'400'000;

    // A ready document of the user's, as its concept cards need it.
    struct ConceptSource {
        QString documentId;
        QStringList topics; // course name, document title, file name: the first given names the cards
        std::optional<QList<ConceptCards::Draft>> drafts; // nothing: not read for the feed yet
    };
    // A mnemonic of the user's with where it comes from.
    struct MnemonicSource {
        QString id;
        QJsonObject record;
        QStringList topics; // as for ConceptSource
    };

    explicit FeedStore(ServerContext& context) : context_(context) {}

    // Oldest first.
    QList<ConceptSource> conceptSources(const QString& userId);
    QString documentText(const QString& documentId);
    // Oldest first.
    QList<MnemonicSource> mnemonicSources(const QString& userId);

    // Stores an event and answers its id.
    QString addEvent(const QString& userId, const QString& cardId, const QString& conceptId,
                     const QString& type);
    FeedHistory history(const QString& userId);

    // Both idempotent; answer the card's like count across users afterwards.
    int like(const QString& userId, const QString& cardId, const QString& conceptId);
    int unlike(const QString& userId, const QString& cardId);
    // Like counts across users of the cards that have any.
    QHash<QString, int> likeCounts(const QStringList& cardIds);

    void keepDrafts(const QString& documentId, const QString& userId,
                    const QList<ConceptCards::Draft>& drafts);

private:
    int likeCount(const QString& cardId);

    ServerContext& context_;
};
