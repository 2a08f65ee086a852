#pragma once

#include <QJsonArray>
#include <QString>
#include <optional>

// Synonyms, antonyms and related terms from Princeton WordNet's dictionary files (Debian's
// wordnet-base), read directly: each index file is loaded once and searched by lemma, synsets
// are read at their byte offset. Safe to call from several threads.
class WordNet {
public:
    static constexpr auto dictDir = "/usr/share/wordnet";
    static constexpr int maxSynonyms = 6;
    static constexpr int maxAntonyms = 4;
    static constexpr int maxRelated = 6;
    static constexpr int maxCoordinates = 12;

    struct Entry {
        QJsonArray synonyms; // SynonymItem records: synonym, definition (its sense), example_sentence
        QJsonArray antonyms;
        QJsonArray relatedTerms; // broader terms (hypernyms) of the first senses
    };
    // Nothing when WordNet does not know the term (nor its singular).
    static std::optional<Entry> lookup(const QString& term);

    struct Coordinate {
        QString term;       // as WordNet writes it: "chloroplast", "Golgi apparatus"
        QString definition; // its sense
    };
    // Sister terms: the other nouns under the broader terms (hypernyms) of the term's first two noun
    // senses, nearest sense first, one word of each; none when WordNet does not know it as a noun.
    static QList<Coordinate> coordinateTerms(const QString& term);
};
