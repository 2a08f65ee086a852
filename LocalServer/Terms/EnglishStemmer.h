#pragma once

#include <QString>

struct sb_stemmer;

// Snowball's English stemmer (libstemmer). One instance is not safe to share between threads;
// each extraction makes its own.
class EnglishStemmer {
public:
    EnglishStemmer();
    ~EnglishStemmer();
    EnglishStemmer(const EnglishStemmer&) = delete;
    EnglishStemmer& operator=(const EnglishStemmer&) = delete;

    // The stem of one lower-case word.
    QString stem(const QString& word);

private:
    sb_stemmer* stemmer_;
};
