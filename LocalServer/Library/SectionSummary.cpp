#include "Library/SectionSummary.h"

#include "Library/ContentWords.h"
#include "Terms/StandaloneSentence.h"

#include <QSet>
#include <algorithm>
#include <cmath>

namespace {

using Analysis = KeyTermEngine::Analysis;

constexpr int minContentWords = 3;

// `parts` joined into `count` runs of neighbours, as even as they go.
QList<QList<int>> grouped(const QList<QList<int>>& parts, qsizetype count) {
    QList<QList<int>> groups;
    for (qsizetype group = 0; group < count; ++group) {
        QList<int> joined;
        for (qsizetype i = group * parts.size() / count; i < (group + 1) * parts.size() / count; ++i)
            joined += parts[i];
        groups.append(joined);
    }
    return groups;
}

// Each sentence's score, worked out once.
class Scores {
public:
    explicit Scores(const Analysis& analysis) : analysis_(analysis) {
        QStringList texts;
        for (const KeyTermEngine::Sentence& sentence : analysis.sentences)
            texts.append(sentence.text);
        const QHash<QString, int> frequency = ContentWords::frequency(texts);
        QSet<QString> definitions;
        for (const KeyTermEngine::Term& term : analysis.terms)
            if (term.defined)
                definitions.insert(term.sentence);
        QList<double> centrality;
        for (const QString& text : std::as_const(texts)) {
            const QStringList words = ContentWords::of(text);
            double sum = 0;
            for (const QString& word : words)
                sum += frequency.value(word);
            centrality.append(words.isEmpty() ? 0 : sum / std::sqrt(double(words.size())));
            words_.append(int(words.size()));
        }
        double top = 1;
        for (const double value : std::as_const(centrality))
            top = std::max(top, value);
        for (qsizetype i = 0; i < texts.size(); ++i) {
            const QList<int>& terms = analysis.sentences[i].terms;
            double named = 0;
            for (const int term : QSet<int>(terms.begin(), terms.end()))
                named += 1.0 - double(term) / double(analysis.terms.size() + 1);
            scores_.append(centrality[i] / top + 0.3 * std::min(named, 1.5) +
                           (definitions.contains(texts[i]) ? 0.8 : 0.0));
        }
    }

    double of(int index) const { return scores_[index]; }

    // A full sentence of a few words that can be quoted on its own.
    bool usable(int index, bool anyLength) const {
        const KeyTermEngine::Sentence& sentence = analysis_.sentences[index];
        return sentence.prose && !StandaloneSentence::isTitle(sentence) && words_[index] >= minContentWords &&
               sentence.text.count(' ') + 1 >= SectionSummary::minWords &&
               (anyLength || sentence.text.size() <= SectionSummary::maxSentenceChars) &&
               !StandaloneSentence::about(analysis_, index, StandaloneSentence::subject(analysis_, index))
                    .isEmpty();
    }

private:
    const Analysis& analysis_;
    QList<double> scores_;
    QList<int> words_;
};

} // namespace

namespace SectionSummary {

QList<QList<int>> parts(const Analysis& analysis) {
    QList<QList<int>> found;
    for (const KeyTermEngine::Section& section : analysis.sections) {
        QList<int> sentences;
        for (const int index : section.sentences)
            if (analysis.sentences[index].text != section.heading)
                sentences.append(index);
        if (!sentences.isEmpty())
            found.append(sentences);
    }
    if (found.size() == 1) {
        const qsizetype count = std::clamp<qsizetype>(
            qsizetype(std::lround(double(found.front().size()) / partSentences)), 1, maxParts);
        QList<QList<int>> single;
        for (const int index : found.front())
            single.append(QList<int>{index});
        return grouped(single, count);
    }
    return found.size() > maxParts ? grouped(found, maxParts) : found;
}

QString write(const Analysis& analysis, int variant) {
    const Scores scores(analysis);
    // The usable sentences of each part, best first.
    QList<QList<int>> ranked;
    for (const QList<int>& part : parts(analysis)) {
        QList<int> usable;
        for (const bool anyLength : {false, true}) {
            for (const int index : part)
                if (scores.usable(index, anyLength))
                    usable.append(index);
            if (!usable.isEmpty())
                break;
        }
        std::stable_sort(usable.begin(), usable.end(),
                         [&](int a, int b) { return scores.of(a) > scores.of(b); });
        const qsizetype turns = std::min<qsizetype>(usable.size(), alternates);
        if (turns > 1)
            std::rotate(usable.begin(), usable.begin() + variant % turns, usable.begin() + turns);
        if (!usable.isEmpty())
            ranked.append(usable);
    }
    QList<int> chosen;
    qsizetype length = 0;
    for (const QList<int>& part : std::as_const(ranked)) {
        chosen.append(part.front());
        length += analysis.sentences[part.front()].text.size() + 1;
    }
    for (const QList<int>& part : std::as_const(ranked)) {
        if (part.size() < longPart)
            continue;
        const qsizetype more = analysis.sentences[part[1]].text.size() + 1;
        if (length + more > maxChars)
            continue;
        chosen.append(part[1]);
        length += more;
    }
    std::sort(chosen.begin(), chosen.end());
    return StandaloneSentence::quote(analysis, chosen).join(' ');
}

} // namespace SectionSummary
