#include "Library/ContentWords.h"

#include <QRegularExpression>
#include <QSet>

namespace {

const QSet<QString>& stopWords() {
    static const QSet<QString> words = {
        "a",      "about",  "above", "after", "again",  "all",     "also",    "am",    "an",     "and",
        "any",    "are",    "as",    "at",    "be",     "been",    "before",  "being", "below",  "between",
        "both",   "but",    "by",    "can",   "could",  "did",     "do",      "does",  "doing",  "down",
        "during", "each",   "few",   "for",   "from",   "further", "had",     "has",   "have",   "having",
        "he",     "her",    "here",  "hers",  "him",    "his",     "how",     "i",     "if",     "in",
        "into",   "is",     "it",    "its",   "itself", "just",    "may",     "me",    "might",  "more",
        "most",   "must",   "my",    "no",    "nor",    "not",     "now",     "of",    "off",    "on",
        "once",   "one",    "only",  "or",    "other",  "our",     "out",     "over",  "own",    "same",
        "she",    "should", "so",    "some",  "such",   "than",    "that",    "the",   "their",  "them",
        "then",   "there",  "these", "they",  "this",   "those",   "through", "to",    "too",    "two",
        "under",  "until",  "up",    "us",    "use",    "used",    "uses",    "very",  "was",    "we",
        "were",   "what",   "when",  "where", "which",  "while",   "who",     "whom",  "why",    "will",
        "with",   "would",  "you",   "your",  "many",   "much",    "called",  "known", "within", "without",
        "because"};
    return words;
}

} // namespace

namespace ContentWords {

QStringList of(const QString& sentence) {
    static const QRegularExpression word(R"([A-Za-z][A-Za-z'\-]*[A-Za-z]|[A-Za-z])");
    QStringList words;
    for (auto it = word.globalMatch(sentence); it.hasNext();) {
        const QString token = it.next().captured(0).toLower();
        if (token.size() > 2 && !stopWords().contains(token))
            words.append(token);
    }
    return words;
}

QHash<QString, int> frequency(const QStringList& sentences) {
    QHash<QString, int> counts;
    for (const QString& sentence : sentences)
        for (const QString& word : of(sentence))
            ++counts[word];
    return counts;
}

} // namespace ContentWords
