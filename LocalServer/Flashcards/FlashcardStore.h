#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QTimeZone>
#include <optional>

struct ServerContext;

// The user's study cards and their SM-2 state. Cards made from a course's vocabulary have the id
// "vocab_" + term (one per user and term) and the source "vocabulary"; they are reviewed and due
// like any other card but left out of the plain list, which the app shows beside the course's
// vocabulary.
class FlashcardStore {
public:
    static constexpr auto vocabularyPrefix = "vocab_";

    explicit FlashcardStore(ServerContext& context) : context_(context) {}

    QJsonArray list(const QString& userId);
    struct Due {
        QJsonArray cards;
        int total = 0;
    };
    // Cards due at `nowMs`, longest due first; a new card counts as due since its creation.
    Due due(const QString& userId, qint64 nowMs, int limit);
    struct CourseDue {
        QString courseId;   // empty: cards of no course
        QString courseName; // null: no course, or one that no longer exists
        int due = 0;
    };
    // The count of cards due at `nowMs` per course, the busiest first, then by name.
    QList<CourseDue> dueByCourse(const QString& userId, qint64 nowMs);
    // Applies an SM-2 quality at `nowMs` in one transaction; the updated card, or nothing when
    // the user has no such card.
    std::optional<QJsonObject> review(const QString& userId, const QString& id, int quality, qint64 nowMs,
                                      const QTimeZone& zone);
    // Keeps the course's vocabulary cards in step with its terms (VocabularyTerm records): new
    // terms get new cards, known ones new texts with their schedule kept, and cards of this
    // course whose term is gone are removed. Runs inside the caller's transaction.
    void syncVocabulary(const QString& userId, const QString& courseId, const QJsonArray& terms);

    // The wire record (Flashcard) of a row.
    static QJsonObject cardJson(const QVariantMap& row);
    // The card's back: the definition and, when there is one, its example from the text.
    static QString vocabularyBack(const QJsonObject& term);

private:
    ServerContext& context_;
};
