#include "Flashcards/SpacedRepetition.h"

#include <algorithm>
#include <cmath>

std::optional<int> SpacedRepetition::qualityOfRating(int rating) {
    static constexpr int qualities[] = {1, 3, 4, 5};
    if (rating < 0 || rating > 3)
        return std::nullopt;
    return qualities[rating];
}

SpacedRepetition SpacedRepetition::reviewed(int quality) const {
    if (quality < 3)
        return {easeFactor, 1, 0};
    const int miss = 5 - quality;
    // Rounded to four places so that repeated reviews do not accumulate binary fractions.
    const double ease =
        std::round(std::max(minimumEase, easeFactor + (0.1 - miss * (0.08 + miss * 0.02))) * 10000) / 10000;
    const int count = repetitions + 1;
    const int interval = count == 1 ? 1 : count == 2 ? 6 : int(std::lround(intervalDays * easeFactor));
    return {ease, interval, count};
}

QDateTime SpacedRepetition::dueAt(const QDateTime& reviewedAt, int intervalDays, const QTimeZone& zone) {
    const QDate day = reviewedAt.toTimeZone(zone).date().addDays(intervalDays);
    return QDateTime(day, QTime(0, 0), zone);
}
