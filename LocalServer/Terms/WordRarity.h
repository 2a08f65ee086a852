#pragma once

#include <QHash>
#include <QSet>
#include <QString>

// How rare a word is in general English, from 0 (everyday) to 1 (absent from general English):
// WordNet's sense counts (cntlist.rev, tagged from a general corpus) say how often a word is
// used, Debian's word list (wamerican) whether it is an English word at all. A course's domain
// terms ("glycolysis", "elasticity") score high, the words around them low. Loaded once,
// read-only after.
class WordRarity {
public:
    static const WordRarity& instance();

    // For one lower-case word; a plural is read as its singular.
    double of(const QString& word) const;
    // Whether WordNet lists the lower-case phrase as a noun of its own ("degree of freedom",
    // "krebs cycle"); a plural is read as its singular.
    bool isNoun(const QString& phrase) const;

private:
    WordRarity();
    int countOf(const QString& word) const;

    QHash<QString, int> counts_;
    QSet<QString> nouns_;
};
