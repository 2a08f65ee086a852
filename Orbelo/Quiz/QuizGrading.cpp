#include "Quiz/QuizGrading.h"

#include <cmath>
#include <limits>

namespace QuizGrading {

std::optional<qint64> choiceIndex(const QString& answer) {
    qsizetype at = 0;
    bool negative = false;
    if (!answer.isEmpty() && (answer[0] == u'+' || answer[0] == u'-')) {
        negative = answer[0] == u'-';
        at = 1;
    }
    if (at == answer.size())
        return std::nullopt;
    qint64 value = 0;
    for (; at < answer.size(); ++at) {
        const char16_t c = answer[at].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        // Too long to be any option's position: still a number, never a match.
        if (value > (std::numeric_limits<qint64>::max() - 9) / 10)
            return std::numeric_limits<qint64>::max();
        value = value * 10 + (c - u'0');
    }
    return negative ? -value : value;
}

QString normalised(const QString& text) {
    return text.trimmed().toLower();
}

bool isCorrect(QuizQuestionType type, const QuizQuestion& question, const QString& answer) {
    if (type != QuizQuestionType::fillInBlank) {
        const std::optional<qint64> chosen = choiceIndex(answer);
        return chosen && question.correctAnswerIndex && *chosen == *question.correctAnswerIndex;
    }
    const QString typed = normalised(answer);
    if (typed.isEmpty())
        return false;
    if (!question.correctAnswerStrings.isEmpty())
        return std::any_of(question.correctAnswerStrings.begin(), question.correctAnswerStrings.end(),
                           [&](const QString& accepted) { return normalised(accepted) == typed; });
    return !question.options.isEmpty() && normalised(question.options.first()) == typed;
}

Score score(QuizQuestionType type, const QList<QuizQuestion>& questions, const QMap<int, QString>& answers) {
    Score result;
    result.total = int(questions.size());
    for (int i = 0; i < result.total; ++i) {
        if (isCorrect(type, questions[i], answers.value(i)))
            ++result.correct;
    }
    // Multiplied first, so that a whole percent comes out exact.
    result.percent = result.total == 0 ? 0 : result.correct * 100.0 / result.total;
    return result;
}

Grade grade(const Score& score) {
    if (score.total == 0 || score.percent < 60)
        return Grade::reviewNeeded;
    return score.percent >= 80 ? Grade::greatWork : Grade::keepGoing;
}

QString gradeText(Grade grade) {
    switch (grade) {
    case Grade::greatWork:
        return QStringLiteral("Great work");
    case Grade::keepGoing:
        return QStringLiteral("Keep going");
    case Grade::reviewNeeded:
        break;
    }
    return QStringLiteral("Review needed");
}

QString scoreLine(const Score& score) {
    return QStringLiteral("%1 out of %2 correct").arg(score.correct).arg(score.total);
}

int wholePercent(const Score& score) {
    return int(std::floor(score.percent));
}

QString spokenLabel(const Score& score) {
    return QStringLiteral("Score: %1 percent. ").arg(wholePercent(score)) + gradeText(grade(score));
}

} // namespace QuizGrading
