#pragma once

#include <QList>
#include <QString>

// The order of a list of initials that reads best as one word: a word of the word list if some
// order makes one (a common word first, then the easiest to say, then the first alphabetically),
// else the order easiest to pronounce (vowels and consonants alternating, no long runs of either),
// the first from the given order winning ties, so the same initials always give the same word. Up
// to `maxLetters` initials are reordered; more keep their order.
class AcronymOrder {
public:
    static constexpr int maxLetters = 8;

    // Positions into `initials` (lower-case letters), in the chosen order.
    static QList<int> best(const QString& initials);
    // Higher is easier to say.
    static int pronounceability(const QString& letters);
};
