#pragma once

#include <QList>
#include <QString>

struct Dictionary_s;

// English read with link-grammar (Debian's liblink-grammar and its English dictionary): a
// sentence's words with the part of speech its best parse gives them, or a word's possible parts
// from the dictionary alone. The dictionary is loaded once and shared; parsing is thread-safe.
class EnglishParser {
public:
    enum class Tag { noun, properNoun, adjective, verb, other, unknown };
    struct Word {
        QString text; // as the sentence writes it
        Tag tag = Tag::other;
    };

    // Longer sentences are tagged from the dictionary: a parse's cost grows with the cube of its
    // length, and a bound keeps a 300-page book within seconds.
    static constexpr int maxParsedWords = 25;

    static const EnglishParser& instance();

    // The words of the best parse; empty when the sentence is too long or has no parse.
    QList<Word> parse(const QString& sentence) const;
    // A word's most likely part of speech from its dictionary entries: a noun wins over an
    // adjective, both over a verb; unknown when the dictionary does not have it.
    Tag lookup(const QString& word) const;
    bool isLoaded() const { return dictionary_ != nullptr; }

private:
    EnglishParser();
    ~EnglishParser();

    Dictionary_s* dictionary_ = nullptr;
};
