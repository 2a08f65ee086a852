#pragma once

#include "Terms/EnglishStemmer.h"

#include <QHash>
#include <QSet>
#include <QString>

// How close a wrong option of a quiz question is to the right one, from 0 (nothing alike) to 1:
//
//   0.35 × the Jaccard overlap of the two texts' word stems (Snowball)
// + 0.25 × the Dice overlap of their lower-case character trigrams
// + 0.20 × the shorter length over the longer (in characters)
// + 0.10 when WordNet relates the two terms (a synonym or broader term of one is in the other)
// + 0.10 when both terms are defined in the same section of the same document
//
// Easy questions take the least close distractors, hard ones the closest. Texts' features are
// kept, so one instance serves one generation; not thread-safe.
class DistractorCloseness {
public:
    static constexpr double stemWeight = 0.35;
    static constexpr double trigramWeight = 0.25;
    static constexpr double lengthWeight = 0.20;
    static constexpr double relatedWeight = 0.10;
    static constexpr double sectionWeight = 0.10;

    double operator()(const QString& answer, const QString& other, bool related, bool sameSection);
    // The stems of the text's words, lower-cased first.
    QSet<QString> stems(const QString& text);

private:
    struct Features {
        QSet<QString> stems;
        QSet<QString> trigrams;
        qsizetype length = 0;
    };
    const Features& features(const QString& text);

    EnglishStemmer stemmer_;
    QHash<QString, Features> features_;
    QHash<QString, QString> stemOfWord_;
};
