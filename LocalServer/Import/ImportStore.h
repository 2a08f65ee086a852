#pragma once

#include "Import/NotecardParser.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <optional>

class Database;

// Flashcard imports (flashcard_imports) from upload to commit, and the cards a commit adds.
class ImportStore {
public:
    struct Upload {
        QString status; // awaiting_upload, ready or committed
        QByteArray content;
    };
    enum class Commit { Done, AlreadyDone, TooManyCards, Busy, Failed };
    struct CommitOutcome {
        Commit outcome;
        QJsonObject earlier; // with AlreadyDone: the first commit's result
    };

    explicit ImportStore(Database& db) : db_(db) {}

    bool addPasted(const QString& importId, const QString& userId, const QString& key,
                   const QByteArray& content, qint64 nowMs);
    bool addAwaitingUpload(const QString& importId, const QString& userId, const QString& key,
                           const QString& filename, qint64 nowMs);
    // Stores the uploaded file; false once the import is committed (or for an unknown key).
    bool storeContent(const QString& key, const QByteArray& content);
    std::optional<Upload> find(const QString& importId, const QString& userId, const QString& key);
    // The result of the import's commit, if it was committed.
    std::optional<QJsonObject> committedResult(const QString& importId, const QString& userId);
    int storedCards(const QString& userId);
    // In one transaction: adds the cards as new flashcards (no review yet) and marks the import
    // committed with `result`, unless it already was or the user would keep more than `maxCards`.
    CommitOutcome commit(const QString& importId, const QString& userId, const QString& courseId,
                         const QList<NotecardParser::Card>& cards, const QJsonObject& result, int maxCards,
                         qint64 nowMs);

private:
    bool insertCards(const QString& userId, const QString& courseId, const QList<NotecardParser::Card>& cards,
                     qint64 nowMs);

    Database& db_;
};
