#pragma once

#include <QRegularExpression>
#include <QString>
#include <QStringList>

// Whether every sentence of text quoted from `notes` that opens with a pronoun comes right after
// the sentence of the notes it points back to, so that its noun is in the quote.
inline bool readsOnItsOwn(const QString& quote, const QString& notes) {
    static const QRegularExpression pronoun(R"(^(?:It|Its|They|Their|This|These|That|Those|He|She)\b)");
    static const QRegularExpression sentenceEnd(R"((?<=[.!?])\s+)");
    const QStringList sentences = quote.split(sentenceEnd, Qt::SkipEmptyParts);
    const QString plain = notes.simplified();
    for (qsizetype i = 0; i < sentences.size(); ++i)
        if (pronoun.match(sentences[i]).hasMatch() &&
            (i == 0 || !plain.contains(sentences[i - 1] + ' ' + sentences[i])))
            return false;
    return true;
}
