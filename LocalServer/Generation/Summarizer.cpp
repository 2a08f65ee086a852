#include "Summarizer.h"

#include "TextChunker.h"

#include <QHash>
#include <QJsonArray>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <cmath>

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

QString capitalized(QString text) {
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text;
}

} // namespace

QStringList Summarizer::contentWords(const QString& sentence) {
    static const QRegularExpression word(R"([A-Za-z][A-Za-z'\-]*[A-Za-z]|[A-Za-z])");
    QStringList words;
    for (auto it = word.globalMatch(sentence); it.hasNext();) {
        const QString token = it.next().captured(0).toLower();
        if (token.size() > 2 && !stopWords().contains(token))
            words.append(token);
    }
    return words;
}

QList<QPair<QString, QString>> Summarizer::findDefinitions(const QStringList& sentences) {
    using RE = QRegularExpression;
    static const QList<RE> patterns = {
        RE(R"(^(?:an?\s+|the\s+)?([A-Za-z][\w\-]*(?:\s+[\w\-]+){0,3})\s+(?:is|are)\s+defined\s+as\s+(.+)$)",
           RE::CaseInsensitiveOption),
        RE(R"(^(?:an?\s+|the\s+)?([A-Za-z][\w\-]*(?:\s+[\w\-]+){0,3})\s+refers?\s+to\s+(.+)$)",
           RE::CaseInsensitiveOption),
        RE(R"(^(?:an?\s+|the\s+)?([A-Za-z][\w\-]*(?:\s+[\w\-]+){0,3})\s+means\s+(.+)$)",
           RE::CaseInsensitiveOption),
        RE(R"(^(?:an?\s+|the\s+)?([A-Za-z][\w\-]*(?:\s+[\w\-]+){0,3})\s+(?:is|are)\s+((?:an?|the)\s+.+)$)",
           RE::CaseInsensitiveOption),
        RE(R"(^([A-Z][\w\-]*(?:\s+[\w\-]+){0,3})\s*[:–—]\s+(.+)$)"),
    };
    QList<QPair<QString, QString>> terms;
    QSet<QString> seen;
    for (const QString& sentence : sentences) {
        for (const RE& pattern : patterns) {
            const auto match = pattern.match(sentence);
            if (!match.hasMatch())
                continue;
            const QString term = match.captured(1).trimmed();
            const QString key = term.toLower();
            const QStringList termWords = term.split(' ', Qt::SkipEmptyParts);
            // A term is a noun phrase: not a pronoun or a sentence opener, and its definition says something.
            if (stopWords().contains(termWords.first().toLower()) ||
                match.captured(2).split(' ').size() < 3 || seen.contains(key))
                break;
            seen.insert(key);
            terms.append({term, capitalized(match.captured(2).trimmed())});
            break;
        }
        if (terms.size() >= 12)
            break;
    }
    return terms;
}

Summarizer Summarizer::summarize(const QString& text) {
    Summarizer result;
    const QStringList sentences = TextChunker::sentences(text);
    QHash<QString, int> frequency;
    QHash<QString, int> phraseFrequency;
    for (const QString& sentence : sentences) {
        const QStringList words = contentWords(sentence);
        for (qsizetype i = 0; i < words.size(); ++i) {
            ++frequency[words[i]];
            if (i + 1 < words.size())
                ++phraseFrequency[words[i] + ' ' + words[i + 1]];
        }
    }

    // Summary: the best sentences of reasonable length, shown in their original order.
    QList<QPair<double, qsizetype>> scored;
    for (qsizetype i = 0; i < sentences.size(); ++i) {
        const QStringList words = contentWords(sentences[i]);
        if (words.size() < 3 || sentences[i].size() > 400)
            continue;
        double score = 0;
        for (const QString& word : words)
            score += frequency.value(word);
        scored.append({score / std::sqrt(double(words.size())), i});
    }
    std::stable_sort(scored.begin(), scored.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    const qsizetype wanted = std::clamp<qsizetype>(sentences.size() / 5, 3, 8);
    QList<qsizetype> chosen;
    for (qsizetype i = 0; i < qMin(wanted, scored.size()); ++i)
        chosen.append(scored[i].second);
    std::sort(chosen.begin(), chosen.end());
    QStringList summary;
    for (qsizetype index : chosen)
        summary.append(sentences[index]);
    result.summaryText = summary.join(' ');

    // Key concepts: phrases that recur, then frequent single words not already covered.
    QList<QPair<QString, int>> phrases;
    for (auto it = phraseFrequency.cbegin(); it != phraseFrequency.cend(); ++it) {
        if (it.value() >= 2)
            phrases.append({it.key(), it.value()});
    }
    QList<QPair<QString, int>> words;
    for (auto it = frequency.cbegin(); it != frequency.cend(); ++it)
        words.append({it.key(), it.value()});
    auto byCountThenName = [](const auto& a, const auto& b) {
        return a.second != b.second ? a.second > b.second : a.first < b.first;
    };
    std::sort(phrases.begin(), phrases.end(), byCountThenName);
    std::sort(words.begin(), words.end(), byCountThenName);
    for (qsizetype i = 0; i < qMin<qsizetype>(3, phrases.size()); ++i)
        result.keyConcepts.append(capitalized(phrases[i].first));
    for (const auto& [word, count] : words) {
        if (result.keyConcepts.size() >= 8)
            break;
        if (!result.keyConcepts.join(' ').contains(word, Qt::CaseInsensitive))
            result.keyConcepts.append(capitalized(word));
    }

    result.keyTerms = findDefinitions(sentences);

    int best = 0;
    result.domain = "general";
    for (const auto& [name, vocabulary] : domains()) {
        int hits = 0;
        for (const QString& word : vocabulary)
            hits += frequency.value(word);
        if (hits > best) {
            best = hits;
            result.domain = name;
        }
    }
    return result;
}

QJsonObject Summarizer::toJson(const QString& documentType, const QString& generatedAt) const {
    QJsonArray terms;
    for (const auto& [term, definition] : keyTerms)
        terms.append(QJsonObject{{"term", term}, {"definition", definition}});
    return QJsonObject{{"summary_text", summaryText},
                       {"key_concepts", QJsonArray::fromStringList(keyConcepts)},
                       {"key_terms", terms},
                       {"domain", domain},
                       {"document_type", documentType},
                       {"generated_at", generatedAt}};
}
