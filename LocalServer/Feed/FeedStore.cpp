#include "Feed/FeedStore.h"

#include "ServerContext.h"
#include "Storage/RandomId.h"

#include <QJsonArray>
#include <QJsonDocument>

QString FeedStore::addEvent(const QString& userId, const QString& cardId, const QString& conceptId,
                            const QString& type) {
    const QString id = RandomId::make("fyev");
    context_.db.exec("INSERT INTO foryou_events (id, user_id, card_id, concept_id, event_type, created_at)"
                     " VALUES (?, ?, ?, ?, ?, ?)",
                     {id, userId, cardId, conceptId, type, context_.nowMs()});
    return id;
}

FeedHistory FeedStore::history(const QString& userId) {
    FeedHistory history;
    for (const QVariantMap& row :
         context_.db.rows("SELECT concept_id, created_at FROM foryou_events"
                          " WHERE user_id = ? AND event_type = 'skipped' AND created_at > ?",
                          {userId, context_.nowMs() - skipMemoryMs}))
        history.skippedAt[row.value("concept_id").toString()].append(row.value("created_at").toLongLong());
    for (const QVariantMap& row :
         context_.db.rows("SELECT concept_id, MAX(created_at) AS at FROM foryou_events"
                          " WHERE user_id = ? AND event_type = 'engaged' GROUP BY concept_id",
                          {userId}))
        history.lastEngagedAt.insert(row.value("concept_id").toString(), row.value("at").toLongLong());
    for (const QVariantMap& row :
         context_.db.rows("SELECT card_id FROM foryou_likes WHERE user_id = ?", {userId}))
        history.liked.insert(row.value("card_id").toString());
    return history;
}

int FeedStore::like(const QString& userId, const QString& cardId, const QString& conceptId) {
    context_.db.exec("INSERT INTO foryou_likes (user_id, card_id, concept_id, created_at)"
                     " VALUES (?, ?, ?, ?) ON CONFLICT (user_id, card_id) DO NOTHING",
                     {userId, cardId, conceptId, context_.nowMs()});
    return likeCount(cardId);
}

int FeedStore::unlike(const QString& userId, const QString& cardId) {
    context_.db.exec("DELETE FROM foryou_likes WHERE user_id = ? AND card_id = ?", {userId, cardId});
    return likeCount(cardId);
}

int FeedStore::likeCount(const QString& cardId) {
    return context_.db.row("SELECT COUNT(*) AS n FROM foryou_likes WHERE card_id = ?", {cardId})
        ->value("n")
        .toInt();
}

QHash<QString, int> FeedStore::likeCounts(const QStringList& cardIds) {
    QHash<QString, int> counts;
    if (cardIds.isEmpty())
        return counts;
    QStringList marks(cardIds.size(), QStringLiteral("?"));
    QVariantList values;
    for (const QString& id : cardIds)
        values.append(id);
    for (const QVariantMap& row :
         context_.db.rows("SELECT card_id, COUNT(*) AS n FROM foryou_likes WHERE card_id IN (" +
                              marks.join(", ") + ") GROUP BY card_id",
                          values))
        counts.insert(row.value("card_id").toString(), row.value("n").toInt());
    return counts;
}

QList<FeedStore::ConceptSource> FeedStore::conceptSources(const QString& userId) {
    QList<ConceptSource> sources;
    for (const QVariantMap& row : context_.db.rows(
             "SELECT d.id, d.title, d.filename, c.name AS course, f.drafts FROM documents d"
             " LEFT JOIN courses c ON c.id = d.course_id AND c.user_id = d.user_id"
             " LEFT JOIN foryou_concepts f ON f.document_id = d.id"
             " WHERE d.user_id = ? AND d.status = 'ready' AND d.text IS NOT NULL ORDER BY d.created_at, d.id",
             {userId})) {
        ConceptSource source{
            row.value("id").toString(),
            {row.value("course").toString(), row.value("title").toString(), row.value("filename").toString()},
            std::nullopt};
        if (!row.value("drafts").isNull())
            source.drafts =
                ConceptCards::fromJson(QJsonDocument::fromJson(row.value("drafts").toByteArray()).array());
        sources.append(source);
    }
    return sources;
}

QString FeedStore::documentText(const QString& documentId) {
    const auto row = context_.db.row("SELECT text FROM documents WHERE id = ?", {documentId});
    return row ? row->value("text").toString() : QString();
}

QList<FeedStore::MnemonicSource> FeedStore::mnemonicSources(const QString& userId) {
    QList<MnemonicSource> sources;
    for (const QVariantMap& row : context_.db.rows(
             "SELECT m.id, m.record, d.title, d.filename, c.name AS course FROM mnemonics m"
             " LEFT JOIN documents d ON d.id = m.document_id AND d.user_id = m.user_id"
             " LEFT JOIN courses c ON c.id = COALESCE(m.course_id, d.course_id) AND c.user_id = m.user_id"
             " WHERE m.user_id = ? ORDER BY m.created_at, m.id",
             {userId}))
        sources.append({row.value("id").toString(),
                        QJsonDocument::fromJson(row.value("record").toByteArray()).object(),
                        {row.value("course").toString(), row.value("title").toString(),
                         row.value("filename").toString()}});
    return sources;
}

void FeedStore::keepDrafts(const QString& documentId, const QString& userId,
                           const QList<ConceptCards::Draft>& drafts) {
    context_.db.exec(
        "INSERT INTO foryou_concepts (document_id, user_id, drafts) VALUES (?, ?, ?)"
        " ON CONFLICT (document_id) DO UPDATE SET user_id = excluded.user_id, drafts = excluded.drafts",
        {documentId, userId,
         QString::fromUtf8(QJsonDocument(ConceptCards::toJson(drafts)).toJson(QJsonDocument::Compact))});
}
