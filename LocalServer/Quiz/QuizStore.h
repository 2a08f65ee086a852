#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <optional>

struct ServerContext;

// Each user's last generated quiz per course, question type, difficulty, topic and length, and the
// number of quizzes generated per course and local day (the day as "yyyy-MM-dd" in the user's
// time zone; older days' counts are dropped as a new day's are written).
class QuizStore {
public:
    struct Key {
        QString userId;
        QString courseId;
        QString questionType;
        QString difficulty;
        QString topic; // as given, trimmed; matched case- and space-insensitively
        int count = 0;
    };
    // A quiz handed to the user: what a completion of it is checked against.
    struct Issued {
        QString courseId;
        QString questionType;
        QString difficulty;
        QJsonArray questions; // with their answers
        qint64 servedAtMs = 0;
        QString completedAttempt; // empty until completed
    };
    struct Cached {
        QJsonObject quiz;
        int attempts = 0; // how many times this quiz has been generated
    };

    explicit QuizStore(ServerContext& context) : context_(context) {}

    std::optional<Cached> cached(const Key& key);
    // Whether any quiz of this type is cached for the course.
    bool hasCached(const QString& userId, const QString& courseId, const QString& questionType);
    // Replaces the cached quiz, counts one more attempt and records the quiz (its "quiz_id" and
    // "questions") as handed out now. Two statements: the caller holds a transaction. False when
    // it could not be written.
    bool store(const Key& key, const QJsonObject& quiz);
    // Records a quiz handed to the user at `servedAtMs`.
    bool issue(const Key& key, const QString& quizId, const QJsonArray& questions, qint64 servedAtMs);
    // The cached quiz was handed out again now.
    void served(const QString& quizId);
    std::optional<Issued> issued(const QString& quizId, const QString& userId);
    // Marks the quiz completed by `attemptId` unless it already is; false then. One statement,
    // for the caller's transaction.
    bool claim(const QString& quizId, const QString& userId, const QString& attemptId);

    int generations(const QString& userId, const QString& courseId, const QString& day);
    // Counts one generation unless `limit` are already counted for the day; false then.
    bool spend(const QString& userId, const QString& courseId, const QString& day, int limit);
    // Gives back a generation whose quiz could not be made.
    void refund(const QString& userId, const QString& courseId, const QString& day);

private:
    ServerContext& context_;
};
