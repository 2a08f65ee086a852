#include "WordRarity.h"

#include "CommonWords.h"
#include "WordNet.h"

#include <QFile>
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

bool WordRarity::isNoun(const QString& phrase) const {
    if (nouns_.contains(phrase))
        return true;
    const QString head = phrase.section(' ', -1);
    const QString rest = phrase.left(phrase.size() - head.size());
    if (head.endsWith(QLatin1String("ies")))
        return nouns_.contains(rest + head.chopped(3) + 'y');
    return head.endsWith('s') &&
           (nouns_.contains(rest + head.chopped(1)) ||
            (head.endsWith(QLatin1String("es")) && nouns_.contains(rest + head.chopped(2))));
}

const WordRarity& WordRarity::instance() {
    static const WordRarity rarity;
    return rarity;
}

int WordRarity::countOf(const QString& word) const {
    if (const auto found = counts_.constFind(word); found != counts_.constEnd())
        return *found;
    if (word.endsWith(QLatin1String("ies")))
        return counts_.value(word.chopped(3) + 'y');
    if (word.endsWith(QLatin1String("es")) && counts_.contains(word.chopped(2)))
        return counts_.value(word.chopped(2));
    if (word.endsWith('s'))
        return counts_.value(word.chopped(1));
    return 0;
}

double WordRarity::of(const QString& word) const {
    if (const int count = countOf(word); count > 0)
        return 1.0 / (1.0 + std::log2(1.0 + count) / 2.0);
    const CommonWords& words = CommonWords::instance();
    const bool listed = words.contains(word) || (word.endsWith('s') && words.contains(word.chopped(1)));
    return listed ? 0.75 : 1.0;
}
