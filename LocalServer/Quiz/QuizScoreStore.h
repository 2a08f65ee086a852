#pragma once

#include <QString>
#include <optional>

struct ServerContext;

// The scores of finished quizzes, one row per attempt.
class QuizScoreStore {
public:
    // How many of a course's latest scores its proficiency averages.
    static constexpr int proficiencyWindow = 5;

    struct Score {
        QString courseId;
        int score = 0;
        int totalQuestions = 0;
        double percentage = 0;
        QString questionType;
        QString difficulty;
        QString topic;                   // empty: none
        std::optional<int> quizDuration; // seconds
        QString attemptId;               // empty: none
    };
    struct Saved {
        QString scoreId;
        // The mean percentage of the course's latest scores, this one included.
        double proficiency = 0;
    };

    explicit QuizScoreStore(ServerContext& context) : context_(context) {}

    // Stores the score; an attempt already stored keeps its first score and answers its id.
    // Nothing when a write failed.
    std::optional<Saved> save(const QString& userId, const Score& score);
    // The topic the attempt's score was saved with; empty when none was saved.
    QString topicOf(const QString& userId, const QString& attemptId);

private:
    ServerContext& context_;
};
