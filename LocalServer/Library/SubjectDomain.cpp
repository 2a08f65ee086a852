#include "Library/SubjectDomain.h"

#include <QList>
#include <QPair>
#include <QStringList>

namespace {

const QList<QPair<QString, QStringList>>& domains() {
    static const QList<QPair<QString, QStringList>> list = {
        {"biology",
         {"cell", "cells", "protein", "dna", "gene", "organism", "species", "enzyme", "membrane", "evolution",
          "mitochondria", "mitochondrion", "photosynthesis", "tissue", "organelle"}},
        {"chemistry",
         {"molecule", "reaction", "atom", "atoms", "bond", "acid", "compound", "electron", "element",
          "solution", "molar"}},
        {"physics",
         {"force", "energy", "velocity", "mass", "acceleration", "momentum", "quantum", "wave", "particle",
          "gravity"}},
        {"mathematics",
         {"theorem", "equation", "proof", "function", "integral", "derivative", "matrix", "vector", "lemma"}},
        {"computer science",
         {"algorithm", "data", "program", "software", "computer", "network", "code", "memory", "complexity"}},
        {"history",
         {"war", "century", "empire", "revolution", "king", "treaty", "dynasty", "colonial", "ancient"}},
        {"economics",
         {"market", "price", "demand", "supply", "inflation", "trade", "economy", "cost", "gdp"}},
        {"psychology",
         {"behavior", "behaviour", "cognitive", "memory", "emotion", "perception", "learning", "motivation"}},
        {"literature", {"novel", "poem", "author", "character", "narrative", "poetry", "theme", "verse"}},
    };
    return list;
}

} // namespace

namespace SubjectDomain {

QString of(const QHash<QString, int>& wordFrequency) {
    int best = 0;
    QString domain = "general";
    for (const auto& [name, vocabulary] : domains()) {
        int hits = 0;
        for (const QString& word : vocabulary)
            hits += wordFrequency.value(word);
        if (hits > best) {
            best = hits;
            domain = name;
        }
    }
    return domain;
}

} // namespace SubjectDomain
