#include "Terms/WordRarity.h"

#include "Terms/CommonWords.h"
#include "Terms/WordNet.h"

#include <QFile>
#include <algorithm>
#include <cmath>

WordRarity::WordRarity() {
    QFile file(CommonWords::senseCountsPath);
    if (!file.open(QIODevice::ReadOnly))
        return;
    // "cell%1:03:00:: 7 51": the lemma, its sense, the sense's number and how often it was tagged.
    while (!file.atEnd()) {
        const QByteArray line = file.readLine();
        const qsizetype percent = line.indexOf('%');
        const qsizetype space = line.lastIndexOf(' ');
        if (percent <= 0 || space <= percent)
            continue;
        counts_[QString::fromUtf8(line.left(percent)).toLower()] += line.mid(space + 1).trimmed().toInt();
    }
    QFile index(QStringLiteral("%1/index.noun").arg(WordNet::dictDir));
    if (!index.open(QIODevice::ReadOnly))
        return;
    while (!index.atEnd()) {
        const QByteArray line = index.readLine();
        if (line.startsWith(' '))
            continue; // the licence at the top
        nouns_.insert(QString::fromUtf8(line.left(line.indexOf(' '))).replace('_', ' '));
    }
}

// The singulars a plural may stand for, most likely first: "bodies" → "body"; "glasses" →
// "glass", "glasse"; none for a word without a plural ending.
static QStringList singularsOf(const QString& word) {
    if (word.endsWith(QLatin1String("ies")))
        return {word.chopped(3) + 'y'};
    if (word.endsWith(QLatin1String("es")))
        return {word.chopped(2), word.chopped(1)};
    if (word.endsWith('s'))
        return {word.chopped(1)};
    return {};
}

bool WordRarity::isNoun(const QString& phrase) const {
    if (nouns_.contains(phrase))
        return true;
    const QString head = phrase.section(' ', -1);
    const QString rest = phrase.left(phrase.size() - head.size());
    const QStringList singulars = singularsOf(head);
    return std::any_of(singulars.begin(), singulars.end(),
                       [&](const QString& singular) { return nouns_.contains(rest + singular); });
}

const WordRarity& WordRarity::instance() {
    static const WordRarity rarity;
    return rarity;
}

int WordRarity::countOf(const QString& word) const {
    if (const auto found = counts_.constFind(word); found != counts_.constEnd())
        return *found;
    for (const QString& singular : singularsOf(word))
        if (const auto found = counts_.constFind(singular); found != counts_.constEnd())
            return *found;
    return 0;
}

double WordRarity::of(const QString& word) const {
    if (const int count = countOf(word); count > 0)
        return 1.0 / (1.0 + std::log2(1.0 + count) / 2.0);
    const CommonWords& words = CommonWords::instance();
    const bool listed = words.contains(word) || (word.endsWith('s') && words.contains(word.chopped(1)));
    return listed ? 0.75 : 1.0;
}
