#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <array>

// The everyday English words that mnemonics are made of: Debian's word list (wamerican) for what
// counts as a word, and WordNet's sense counts (cntlist.rev, from a tagged corpus) for how common
// a word is and which part of speech it mostly is. Only short, common words with one clear part
// of speech, and none on a short list of words unfit for study material, are offered. Loaded once,
// read-only after, safe from several threads.
class CommonWords {
public:
    static constexpr auto wordListPath = "/usr/share/dict/american-english";
    static constexpr auto senseCountsPath = "/usr/share/wordnet/cntlist.rev";
    static constexpr int minLength = 3;
    static constexpr int maxLength = 7;
    static constexpr int maxAnagramLength = 8;

    enum class Part { noun, verb, adjective };

    static const CommonWords& instance();

    // Whether the word list has the word exactly as written (lower-case forms are the common words).
    bool contains(const QString& word) const { return words_.contains(word); }
    // Whether the word is one of the common words offered below.
    bool isCommon(const QString& word) const { return common_.contains(word); }
    // Common words of the part of speech that begin with the lower-case letter, most common first.
    QStringList starting(QChar letter, Part part) const;
    // A word of the list for a letter no common word begins with: the shortest, then the first
    // alphabetically; empty when the list has none.
    QString anyStarting(QChar letter) const { return anyByLetter_.value(letter.toLower()); }
    // The lower-case words of the list spelled with exactly these letters in some order, up to
    // maxAnagramLength letters: "tac" → "act", "cat". Alphabetical.
    QStringList anagramsOf(const QString& letters) const { return anagrams_.value(sortedLetters(letters)); }
    // Common nouns that rhyme with the word by their ending (rhymeEnding), most common first.
    QStringList rhymes(const QString& word) const;

    // The word from its last vowel sound on, a final silent "e" carried with it: "membrane" →
    // "ane", "water" → "er", "light" → "ight"; a plural as its singular. At least two letters.
    static QString rhymeEnding(const QString& word);

private:
    CommonWords();
    static QString sortedLetters(QString letters);

    QSet<QString> words_;
    QSet<QString> common_;
    std::array<QHash<QChar, QStringList>, 3> byLetter_; // by part, then letter
    QHash<QString, QStringList> nounsByEnding_;
    QHash<QChar, QString> anyByLetter_;
    QHash<QString, QStringList> anagrams_; // by sortedLetters
};
