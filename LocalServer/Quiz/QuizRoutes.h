#pragma once

#include "Http/ServerRequest.h"
#include "Http/ServerResponse.h"
#include "Jobs/JobQueue.h"
#include "Quiz/QuizGenerator.h"
#include "Quiz/QuizStore.h"

#include <limits>
#include <optional>

struct ServerContext;

// Practice tests under /api/courses/{id}/quiz: the cache and quota status of a question type, and
// generation. A quiz already made for the same type, difficulty, topic and length is answered
// from the cache, free; a new one spends one of the course's daily generations, which come back
// at the user's local midnight; none are limited while the user's Premium Week is on. Courses with much text
// are quizzed by a queued "quiz" job whose result is the quiz; the others inline.
class QuizRoutes {
public:
    static constexpr auto jobType = "quiz";
    static constexpr int maxDailyGenerations = 10;
    // Above this many characters of course text, generation is a queued job (about 50 pages).
    static constexpr qsizetype inlineTextLimit = 200'000;

    explicit QuizRoutes(ServerContext& context) : context_(context) {}

    JobQueue::Runner runner();

    // "3h 12m", "3h" on the hour, or "12m" under an hour; minutes rounded up.
    static QString formatCooldown(qint64 remainingMs);
    // WordNet's synonyms, broader terms and opposites of a term, lower-case: words a student could
    // mistake for it, which make closer distractors.
    static QSet<QString> wordNetRelated(const QString& term);

private:
    friend class Routes; // calls the handlers

    struct Quota {
        QString day; // the user's local date
        int used = 0;
        qint64 untilMidnightMs = 0;
        // While Premium Week is on: when it ends. Generations are counted but not limited.
        std::optional<qint64> unlimitedUntilMs;
        bool exhausted() const { return !unlimitedUntilMs && used >= maxDailyGenerations; }
        int limit() const { return unlimitedUntilMs ? std::numeric_limits<int>::max() : maxDailyGenerations; }
    };
    struct Sources {
        QList<QuizGenerator::Source> documents;
        QString courseName;
        qsizetype chars = 0;
    };

    ServerResponse cacheStatus(const ServerRequest& request, const QString& userId);
    ServerResponse generate(const ServerRequest& request, const QString& userId);
    JobQueue::Outcome generateQueued(const JobQueue::Job& job);

    Quota quota(const QString& userId, const QString& courseId);
    Sources sources(const QString& userId, const QString& courseId);
    QuizGenerator::Result make(const Sources& sources, const QuizStore::Key& key, int attempt);
    // The quiz as cached: its new quiz_id, title, description, questions, total_questions, difficulty,
    // and the note on why it has fewer questions than asked, when it has.
    static QJsonObject quizJson(const Sources& sources, const QuizStore::Key& key,
                                const QuizGenerator::Result& made);
    // The GenerateQuizResponse: the quiz with its attempt count and the day's quota.
    static QJsonObject answerJson(QJsonObject quiz, bool fromCache, int attempts, const Quota& quota);
    static void addQuota(QJsonObject& answer, const Quota& quota);
    static QString exhausted(const Quota& quota);

    ServerContext& context_;
};
