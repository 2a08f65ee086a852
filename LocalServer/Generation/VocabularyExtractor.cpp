#include "VocabularyExtractor.h"

#include "EnglishStemmer.h"
#include "TextChunker.h"

#include <QHash>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <cmath>

namespace {

struct Sentence {
    QString text;
    int paragraph = 0;
    QStringList stems;
    int source = 0;
    QString heading;
};

struct Candidate {
    QString term;
    QString definition;
    int sentence = -1; // the defining sentence, left out when looking for context
    double weight = 1.0;
    int occurrences = 0;
    QSet<int> paragraphs;
    double score = 0;
};

// Words that cannot begin a defined term: "This is a …", "It refers to …".
const QSet<QString>& leadingStopWords() {
    static const QSet<QString> words{
        "this", "that", "these", "those", "it", "there", "here", "he", "she", "they", "we", "you", "i", "one",
        "each", "which", "what", "who", "such", "another", "our", "its", "their", "his", "her", "my", "your",
        "all", "some", "any", "most", "many", "much", "today", "now", "then", "so", "but", "and", "or", "if",
        "when", "while", "because", "also", "however", "thus", "example", "result", "reason", "answer",
        "question", "goal", "purpose", "problem", "point", "idea", "following",
        // course furniture: "Week 1: …", "Instructor: …"
        "week", "chapter", "section", "unit", "lecture", "module", "part", "figure", "table", "note",
        "instructor", "email", "phone", "office", "grading", "due", "date", "time", "room"};
    return words;
}

class Extraction {
public:
    QList<VocabularyExtractor::Term> run(const QStringList& texts) {
        for (const QString& text : texts) {
            read(text);
            ++source_;
            heading_.clear();
        }
        count();
        return answer();
    }

private:
    void read(const QString& text) {
        static const QRegularExpression paragraphBreak(R"(\n\s*\n)");
        static const QRegularExpression glossary(
            R"(^\s*(?:[-*•]\s+)?(?:\*\*)?([A-Za-z][A-Za-z0-9'\- ]{0,48}[A-Za-z0-9])(?:\*\*)?\s+[—–-]{1,2}\s+(\S.{5,})$)");
        static const QRegularExpression colon(
            R"(^\s*(?:[-*•]\s+)?(?:\*\*)?([A-Za-z][A-Za-z0-9'\- ]{0,48}[A-Za-z0-9])(?:\*\*)?:\s+(\S.{5,})$)");
        static const QRegularExpression heading(R"(^\s*#{1,6}\s+(.+?)\s*#*\s*$)");
        for (const QString& block : text.split(paragraphBreak, Qt::SkipEmptyParts)) {
            ++paragraph_;
            QStringList prose;
            QString pendingHeading;
            const auto flush = [&] {
                for (const QString& sentence : TextChunker::sentences(prose.join(' '))) {
                    addSentence(sentence);
                    if (!pendingHeading.isEmpty()) {
                        addCandidate(pendingHeading, plain(sentence), int(sentences_.size()) - 1, 0.5);
                        pendingHeading.clear();
                    }
                }
                prose.clear();
            };
            for (const QString& line : block.split('\n')) {
                QRegularExpressionMatch match;
                if ((match = heading.match(line)).hasMatch()) {
                    flush();
                    pendingHeading = match.captured(1);
                    heading_ = plain(pendingHeading);
                    addSentence(pendingHeading);
                } else if ((match = glossary.match(line)).hasMatch() ||
                           (match = colon.match(line)).hasMatch()) {
                    flush();
                    addSentence(line.trimmed());
                    addCandidate(match.captured(1), match.captured(2), int(sentences_.size()) - 1, 1.0);
                } else {
                    prose.append(line.trimmed());
                }
            }
            flush();
        }
    }

    static QString plain(QString text) { return text.remove(QStringLiteral("**")).simplified(); }

    void addSentence(const QString& raw) {
        const QString text = plain(raw);
        sentences_.append({text, paragraph_, stems(text), source_, heading_});
        const int index = int(sentences_.size()) - 1;
        findDefinition(text, index);
        static const QRegularExpression bold(R"(\*\*([^*]{2,60})\*\*)");
        for (auto it = bold.globalMatch(raw); it.hasNext();)
            addCandidate(it.next().captured(1), text, index, 0.5);
    }

    void findDefinition(const QString& text, int index) {
        static const QString term = R"(^(?:(?:an?|the)\s+)?([A-Za-z][\w\-]*(?:\s+[\w\-]+){0,3}?))";
        static const QRegularExpression patterns[] = {
            QRegularExpression(term + R"(\s+(?:is|are)\s+defined\s+as\s+(.+)$)",
                               QRegularExpression::CaseInsensitiveOption),
            QRegularExpression(term + R"(\s+refers?\s+to\s+(.+)$)",
                               QRegularExpression::CaseInsensitiveOption),
            QRegularExpression(term + R"(\s+(?:is|are)\s+((?:a|an|the)\s+.+)$)",
                               QRegularExpression::CaseInsensitiveOption),
            QRegularExpression(term + R"(,\s+which\s+.+$)", QRegularExpression::CaseInsensitiveOption)};
        for (int i = 0; i < 4; ++i) {
            const QRegularExpressionMatch match = patterns[i].match(text);
            if (match.hasMatch()) {
                addCandidate(match.captured(1), i == 3 ? text : match.captured(2), index, 1.0);
                return;
            }
        }
    }

    void addCandidate(const QString& rawTerm, QString definition, int sentence, double weight) {
        QStringList words = plain(rawTerm).split(' ', Qt::SkipEmptyParts);
        if (words.isEmpty() || words.size() > VocabularyExtractor::maxTermWords ||
            leadingStopWords().contains(words.first().toLower()))
            return;
        // A capital that only starts a sentence is not part of the term; acronyms and names keep theirs.
        for (QString& word : words)
            if (word.size() > 1 && word.at(0).isUpper() && word.mid(1) == word.mid(1).toLower())
                word = word.toLower();
        const QString term = words.join(' ');
        // The term is also a card id in a URL path: words, spaces, hyphens and apostrophes only.
        static const QRegularExpression termCharacters(R"(^[\w' \-]+$)");
        const QString key = stems(term).join(' ');
        if (term.size() < 3 || key.isEmpty() || !termCharacters.match(term).hasMatch() ||
            candidates_.contains(key))
            return;
        definition = plain(definition);
        while (definition.endsWith('.') || definition.endsWith(';'))
            definition.chop(1);
        if (definition.split(' ', Qt::SkipEmptyParts).size() < 3)
            return;
        definition = definition.left(VocabularyExtractor::maxDefinitionChars);
        definition[0] = definition.at(0).toUpper();
        candidates_.insert(key, {term, definition, sentence, weight});
        order_.append(key);
        maxLength_ = std::max(maxLength_, int(words.size()));
        firstStems_.insert(key.section(' ', 0, 0));
    }

    QStringList stems(const QString& text) {
        static const QRegularExpression word(R"([A-Za-z0-9][A-Za-z0-9'\-]*)");
        QStringList out;
        for (auto it = word.globalMatch(text); it.hasNext();) {
            const QString lower = it.next().captured(0).toLower();
            auto cached = stemCache_.constFind(lower);
            if (cached == stemCache_.constEnd())
                cached = stemCache_.insert(lower, stemmer_.stem(lower));
            out.append(*cached);
        }
        return out;
    }

    void count() {
        for (const Sentence& sentence : std::as_const(sentences_)) {
            const QStringList& words = sentence.stems;
            for (qsizetype at = 0; at < words.size(); ++at) {
                if (!firstStems_.contains(words[at]))
                    continue;
                QString key = words[at];
                for (int length = 1; length <= maxLength_ && at + length <= words.size(); ++length) {
                    if (length > 1)
                        key += ' ' + words[at + length - 1];
                    const auto found = candidates_.find(key);
                    if (found == candidates_.end())
                        continue;
                    ++found->occurrences;
                    found->paragraphs.insert(sentence.paragraph);
                }
            }
        }
        for (Candidate& candidate : candidates_)
            candidate.score =
                candidate.weight * (1 + std::log(std::max(1, candidate.occurrences))) *
                std::log(1 + double(paragraph_) / std::max<qsizetype>(1, candidate.paragraphs.size()));
    }

    // Another sentence that uses the term, the first in the text.
    QString contextOf(const QString& key, const Candidate& candidate) const {
        const QStringList keyWords = key.split(' ');
        for (int i = 0; i < sentences_.size(); ++i) {
            const Sentence& sentence = sentences_[i];
            if (i == candidate.sentence || sentence.text.size() < 20 || !sentence.text.back().isPunct())
                continue;
            for (qsizetype at = 0; at + keyWords.size() <= sentence.stems.size(); ++at)
                if (sentence.stems.mid(at, keyWords.size()) == keyWords)
                    return sentence.text;
        }
        return {};
    }

    QList<VocabularyExtractor::Term> answer() const {
        QStringList ranked = order_;
        std::stable_sort(ranked.begin(), ranked.end(), [this](const QString& a, const QString& b) {
            return candidates_.value(a).score > candidates_.value(b).score;
        });
        QList<VocabularyExtractor::Term> terms;
        for (const QString& key : ranked.mid(0, VocabularyExtractor::maxTerms)) {
            const Candidate& candidate = *candidates_.constFind(key);
            const Sentence& defining = sentences_.at(candidate.sentence);
            terms.append({candidate.term, candidate.definition, contextOf(key, candidate), defining.text,
                          defining.heading, defining.source});
        }
        return terms;
    }

    EnglishStemmer stemmer_;
    QHash<QString, QString> stemCache_;
    QList<Sentence> sentences_;
    QHash<QString, Candidate> candidates_; // by the term's stems
    QStringList order_;                    // candidates in the order the text gives them
    QSet<QString> firstStems_;
    int maxLength_ = 1;
    int paragraph_ = 0;
    int source_ = 0;
    QString heading_; // the latest heading of the text being read
};

} // namespace

QList<VocabularyExtractor::Term> VocabularyExtractor::keyTerms(const QStringList& texts) {
    return Extraction().run(texts);
}

QJsonArray VocabularyExtractor::extract(const QStringList& texts) {
    QJsonArray terms;
    for (const Term& found : keyTerms(texts)) {
        const int rank = int(terms.size());
        terms.append(
            QJsonObject{{"term", found.term},
                        {"definition", found.definition},
                        {"importance", rank < 10   ? "high"
                                       : rank < 20 ? "medium"
                                                   : "low"},
                        {"context", found.context.isEmpty() ? QJsonValue::Null : QJsonValue(found.context)}});
    }
    return terms;
}
