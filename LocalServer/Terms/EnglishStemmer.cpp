#include "Terms/EnglishStemmer.h"

#include <libstemmer.h>

EnglishStemmer::EnglishStemmer() : stemmer_(sb_stemmer_new("english", nullptr)) {}

EnglishStemmer::~EnglishStemmer() {
    sb_stemmer_delete(stemmer_);
}

QString EnglishStemmer::stem(const QString& word) {
    const QByteArray utf8 = word.toUtf8();
    const sb_symbol* stemmed =
        sb_stemmer_stem(stemmer_, reinterpret_cast<const sb_symbol*>(utf8.constData()), int(utf8.size()));
    if (!stemmed)
        return word;
    return QString::fromUtf8(reinterpret_cast<const char*>(stemmed), sb_stemmer_length(stemmer_));
}
