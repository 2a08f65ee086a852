#pragma once

#include <QRandomGenerator>
#include <QString>
#include <QStringList>

// Course notes of about 300 pages (some 150,000 words): paragraphs of made-up prose over a
// 3,000-word lexicon, one paragraph in five opening with a definition of one of 400 terms. The
// first terms are `namedTerms` (English words, so WordNet knows them), the rest made up; with
// `headingEvery`, a "# Chapter" heading opens every that many paragraphs.
inline QString syntheticLecture(quint32 seed, const QStringList& namedTerms = {}, int headingEvery = 0) {
    QRandomGenerator random(seed);
    QStringList lexicon;
    for (int i = 0; i < 3000; ++i) {
        QString word;
        for (int letters = 3 + int(random.bounded(7)); letters > 0; --letters)
            word += QChar('a' + int(random.bounded(26)));
        lexicon.append(word);
    }
    const auto sentence = [&](int words) {
        QStringList out;
        for (int i = 0; i < words; ++i)
            out.append(lexicon.at(int(random.bounded(qint64(lexicon.size())))));
        out.first()[0] = out.first().at(0).toUpper();
        return out.join(' ') + '.';
    };
    QStringList paragraphs;
    qsizetype words = 0;
    for (int p = 0; words < 150'000; ++p) {
        if (headingEvery > 0 && p % headingEvery == 0)
            paragraphs.append("# Chapter " + lexicon.at(p));
        QStringList text;
        if (p % 5 == 0) {
            const int term = (p / 5) % 400;
            text.append(namedTerms.value(term, lexicon.at(term)) + " is a " + sentence(12).toLower());
        }
        for (int s = 0; s < 6; ++s)
            text.append(sentence(8 + int(random.bounded(14))));
        words += text.join(' ').count(' ') + 1;
        paragraphs.append(text.join(' '));
    }
    return paragraphs.join("\n\n");
}
