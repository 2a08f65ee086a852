#include "Quiz/QuizNotice.h"

#include "Text/SentenceText.h"

namespace QuizNotice {

QString compose(const std::optional<QString>& scoreError, const std::optional<QString>& rewardsError) {
    using SentenceText::completed;
    if (scoreError && rewardsError)
        return QStringLiteral("We couldn't save your score: ") + completed(*scoreError) + u' ' +
               QStringLiteral("Rewards also couldn't be tallied: ") + completed(*rewardsError);
    if (scoreError)
        return QStringLiteral("Rewards are tallied, but we couldn't save your score: ") +
               completed(*scoreError);
    if (rewardsError)
        return QStringLiteral("Score saved, but rewards couldn't be tallied: ") + completed(*rewardsError);
    return {};
}

} // namespace QuizNotice
