#include "Songs/Syllables.h"

#include <QStringList>

namespace {

bool isVowel(QChar c) {
    return QStringView(u"aeiouy").contains(c);
}

int countPart(const QString& part) {
    int groups = 0;
    bool inVowels = false;
    for (qsizetype i = 0; i < part.size(); ++i) {
        const bool vowel = isVowel(part.at(i));
        groups += vowel && !inVowels;
        // "sodium", "potassium", "bacteria", "radio" say both vowels; "nation", "special" and "ocean" do not.
        if (vowel && inVowels && part.at(i - 1) == u'i' && QStringView(u"aou").contains(part.at(i)) &&
            (part.at(i) == u'u' || i < 2 || !QStringView(u"tsc").contains(part.at(i - 2))))
            ++groups;
        inVowels = vowel;
    }
    // "make", "grove": a final e after a consonant is silent, but "table" and "bee" keep theirs.
    const qsizetype n = part.size();
    if (n > 2 && part.endsWith(u'e') && !isVowel(part.at(n - 2)) && !part.endsWith(u"le") && groups > 1)
        --groups;
    return groups;
}

} // namespace

int Syllables::count(const QString& word) {
    int total = 0;
    QString part;
    const QString lower = word.toLower() + u' ';
    for (const QChar c : lower) {
        if (c.isLetter()) {
            part += c;
            continue;
        }
        if (!part.isEmpty())
            total += std::max(1, countPart(part));
        part.clear();
        // Digits are said one by one, near enough.
        total += c.isDigit();
    }
    return total;
}

int Syllables::countLine(const QString& line) {
    int total = 0;
    for (const QString& word : line.split(u' ', Qt::SkipEmptyParts))
        total += count(word);
    return total;
}
