#include "AcronymOrder.h"

#include "CommonWords.h"

#include <algorithm>
#include <numeric>

namespace {

bool isVowel(QChar c) {
    return QStringLiteral("aeiouy").contains(c);
}

} // namespace

int AcronymOrder::pronounceability(const QString& letters) {
    int score = 0;
    int run = 0;
    for (qsizetype i = 0; i < letters.size(); ++i) {
        const bool vowel = isVowel(letters.at(i));
        run = i > 0 && vowel == isVowel(letters.at(i - 1)) ? run + 1 : 1;
        if (i > 0 && run == 1)
            score += 1; // a change between vowel and consonant
        if (run > 2)
            score -= 3; // three consonants or vowels in a row
    }
    return score;
}

QList<int> AcronymOrder::best(const QString& initials) {
    QList<int> order(initials.size());
    std::iota(order.begin(), order.end(), 0);
    if (initials.size() > maxLetters || initials.size() < 2)
        return order;
    const CommonWords& words = CommonWords::instance();
    const auto score = [&](const QList<int>& candidate) {
        QString letters;
        for (int at : candidate)
            letters += initials.at(at);
        const int known = words.isCommon(letters) ? 2 : words.contains(letters) ? 1 : 0;
        return known * 1000 + pronounceability(letters);
    };
    // Every order, from the given one: positions are permuted, so repeated letters are tried twice
    // but the first of equal orders wins.
    QList<int> permutation = order;
    int bestScore = score(order);
    while (std::next_permutation(permutation.begin(), permutation.end())) {
        if (const int s = score(permutation); s > bestScore) {
            bestScore = s;
            order = permutation;
        }
    }
    return order;
}
