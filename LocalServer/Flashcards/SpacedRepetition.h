#pragma once

#include <QDateTime>
#include <QTimeZone>
#include <optional>

// Classic SuperMemo-2 scheduling of one card.
//
// The app rates a card Again (0), Hard (1), Good (2) or Easy (3); those are SM-2 qualities 1, 3,
// 4 and 5. A quality below 3 is a lapse: repetitions start again (0) and the card comes back the
// next day, with its ease factor kept as SM-2 does. Otherwise the ease factor becomes
// EF + (0.1 - (5-q)(0.08 + (5-q)0.02)), at least 1.3, repetitions grow by one and the interval
// is 1 day, then 6, then the previous interval times the ease factor before this review, rounded.
// The card is due at the start (local midnight) of the day `interval` days after the review's
// day in the user's time zone.
struct SpacedRepetition {
    static constexpr double initialEase = 2.5;
    static constexpr double minimumEase = 1.3;

    double easeFactor = initialEase;
    int intervalDays = 0;
    int repetitions = 0;

    // The SM-2 quality (0-5) of an app rating, or nothing for a number that is not one.
    static std::optional<int> qualityOfRating(int rating);
    SpacedRepetition reviewed(int quality) const;
    static QDateTime dueAt(const QDateTime& reviewedAt, int intervalDays, const QTimeZone& zone);
};
