#include "Feed/ConceptBody.h"

#include "Terms/StandaloneSentence.h"
#include "Terms/TermCasing.h"

#include <algorithm>

namespace {

QString ended(const QString& sentence) {
    if (sentence.isEmpty() || QStringLiteral(".!?…:").contains(sentence.back()))
        return sentence;
    return sentence + '.';
}

QString shortened(const QString& sentence) {
    if (sentence.size() <= ConceptBody::maxSentenceChars)
        return sentence;
    const qsizetype cut = sentence.lastIndexOf(' ', ConceptBody::maxSentenceChars - 1);
    return sentence.left(cut > 0 ? cut : ConceptBody::maxSentenceChars - 1) + QStringLiteral("…");
}

} // namespace

namespace ConceptBody {

QString write(const KeyTermEngine::Analysis& analysis, int term) {
    const KeyTermEngine::Term& named = analysis.terms.at(term);
    int defining = StandaloneSentence::definingSentence(analysis, term);
    if (defining >= 0 && StandaloneSentence::about(analysis, defining, term).isEmpty())
        defining = -1;
    // The sentences about the term, nearest to the definition first: its own section before others.
    QList<int> about;
    for (int i = 0; i < analysis.sentences.size(); ++i) {
        const KeyTermEngine::Sentence& sentence = analysis.sentences[i];
        const bool names = sentence.terms.contains(term) || StandaloneSentence::subject(analysis, i) == term;
        if (i != defining && names && sentence.text != sentence.heading &&
            !StandaloneSentence::isTitle(sentence) && !StandaloneSentence::about(analysis, i, term).isEmpty())
            about.append(i);
    }
    if (const int anchor = defining >= 0 ? defining : about.value(0, -1); anchor >= 0) {
        const KeyTermEngine::Sentence& home = analysis.sentences[anchor];
        const auto distance = [&](int i) {
            const KeyTermEngine::Sentence& sentence = analysis.sentences[i];
            const bool elsewhere = sentence.source != home.source || sentence.heading != home.heading;
            return std::pair(elsewhere, std::abs(i - anchor));
        };
        std::stable_sort(about.begin(), about.end(), [&](int a, int b) { return distance(a) < distance(b); });
    }

    // Without a sentence of the text that reads on its own, the definition opens the card.
    QString opening;
    if (defining < 0 && StandaloneSentence::describes(analysis, term)) {
        const bool quotable = !named.sentence.isEmpty() && !StandaloneSentence::pointsBack(named.sentence);
        opening = shortened(
            ended(quotable ? named.sentence : TermCasing::opening(named.term) + ": " + named.definition));
    }
    QList<int> picked;
    if (defining >= 0)
        picked.append(defining);
    qsizetype length = defining >= 0 ? shortened(analysis.sentences[defining].text).size() : opening.size();
    for (const int i : std::as_const(about)) {
        const qsizetype lines = picked.size() + (opening.isEmpty() ? 0 : 1);
        if (lines >= maxSentences || (length >= targetChars && lines >= 2))
            break;
        picked.append(i);
        length += shortened(analysis.sentences[i].text).size() + 1;
    }
    std::sort(picked.begin(), picked.end());
    QStringList body;
    if (!opening.isEmpty())
        body.append(opening);
    for (const QString& sentence : StandaloneSentence::quote(analysis, picked))
        body.append(shortened(ended(sentence)));
    return body.join(' ');
}

} // namespace ConceptBody
