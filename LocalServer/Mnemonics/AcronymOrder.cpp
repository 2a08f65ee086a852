#include "Mnemonics/AcronymOrder.h"

#include "Terms/CommonWords.h"

#include <algorithm>
#include <numeric>

namespace {

bool isVowel(QChar c) {
    return QStringLiteral("aeiouy").contains(c);
}

// Pronounceability of the letters letterAt(0) … letterAt(count - 1).
template <class LetterAt> int score(qsizetype count, LetterAt letterAt) {
    int score = 0;
    int run = 0;
    for (qsizetype i = 0; i < count; ++i) {
        const bool vowel = isVowel(letterAt(i));
        run = i > 0 && vowel == isVowel(letterAt(i - 1)) ? run + 1 : 1;
        if (i > 0 && run == 1)
            score += 1; // a change between vowel and consonant
        if (run > 2)
            score -= 3; // three consonants or vowels in a row
    }
    return score;
}

// The positions of `initials` that spell `word`, repeated letters taken in their given order.
QList<int> spelling(const QString& initials, const QString& word) {
    QList<int> order;
    QList<bool> used(initials.size(), false);
    for (const QChar letter : word) {
        qsizetype at = 0;
        while (used[at] || initials.at(at) != letter)
            ++at;
        used[at] = true;
        order.append(int(at));
    }
    return order;
}

static_assert(AcronymOrder::maxLetters <= CommonWords::maxAnagramLength);

} // namespace

int AcronymOrder::pronounceability(const QString& letters) {
    return score(letters.size(), [&](qsizetype i) { return letters.at(i); });
}

QList<int> AcronymOrder::best(const QString& initials) {
    QList<int> order(initials.size());
    std::iota(order.begin(), order.end(), 0);
    if (initials.size() > maxLetters || initials.size() < 2)
        return order;
    const CommonWords& words = CommonWords::instance();
    // A word when the letters make one: a common one first, then the easiest to say.
    QString chosen;
    int chosenScore = 0;
    for (const QString& word : words.anagramsOf(initials)) {
        const int wordScore = (words.isCommon(word) ? 1000 : 0) + pronounceability(word);
        if (chosen.isEmpty() || wordScore > chosenScore) {
            chosen = word;
            chosenScore = wordScore;
        }
    }
    if (!chosen.isEmpty())
        return spelling(initials, chosen);
    // Else every order, from the given one; the first of equally good orders wins.
    QList<int> permutation = order;
    int bestScore = pronounceability(initials);
    while (std::next_permutation(permutation.begin(), permutation.end())) {
        const int s = score(permutation.size(), [&](qsizetype i) { return initials.at(permutation[i]); });
        if (s > bestScore) {
            bestScore = s;
            order = permutation;
        }
    }
    return order;
}
