#include "Mnemonics/RhymeMnemonic.h"

#include "Mnemonics/MnemonicGuideWriter.h"
#include "Mnemonics/MnemonicPhrasing.h"
#include "Terms/CommonWords.h"

#include <QSet>

using namespace MnemonicPhrasing;

namespace {

using Writer = MnemonicGuideWriter;

// Words a line may stop before, so that it ends where a phrase does: "… across a membrane | from …".
bool startsPhrase(const QString& word) {
    static const QSet<QString> words{"from",    "to",      "that",   "which",   "in",      "of", "with",
                                     "against", "across",  "for",    "without", "using",   "by", "into",
                                     "through", "where",   "when",   "while",   "and",     "or", "on",
                                     "at",      "between", "within", "during",  "because", "so"};
    return words.contains(word.toLower());
}

QString bareWord(QString word) {
    word = word.toLower();
    while (!word.isEmpty() && !word.back().isLetter())
        word.chop(1);
    return word;
}

} // namespace

MnemonicGenerator::Mnemonic RhymeMnemonic::make(const QList<KeyTerm>& terms,
                                                const MnemonicGenerator::Request& request) {
    const int maxWords = request.difficulty == "easy" ? 8 : request.difficulty == "medium" ? 12 : 18;
    const CommonWords& words = CommonWords::instance();
    Writer writer;
    writer.summary(summaryFor(request.topic,
                              QStringLiteral("Read each couplet aloud twice. The first line tells what the "
                                             "term means; the rhyme at the end of the second brings it "
                                             "back. Rhymes are matched by spelling, so some are rough.")));
    QList<QStringList> couplets;
    QList<QPair<QString, QString>> pairs;
    for (const KeyTerm& term : terms) {
        // Plain text: the definition is cut at the word, not shortened with an ellipsis.
        const QStringList statement =
            describe({term.term, term.definition.simplified(), {}}, "hard").split(' ', Qt::SkipEmptyParts);
        const quint32 seed = stableHash(term.term);
        // The line ends where a phrase does, on the last word before maxWords that has a rhyme.
        const qsizetype limit = std::min<qsizetype>(statement.size(), maxWords);
        qsizetype cut = limit - 1;
        QString rhymeWord;
        for (qsizetype k = limit - 1; k >= 2 && rhymeWord.isEmpty(); --k) {
            if (k + 1 < statement.size() && !startsPhrase(statement.at(k + 1)))
                continue;
            const QString last = bareWord(statement.at(k));
            const QStringList found =
                last.size() < 3 || startsPhrase(last) ? QStringList() : words.rhymes(last).mid(0, 8);
            if (!found.isEmpty()) {
                rhymeWord = found.at(seed % found.size());
                // A plural rhymes with a plural: "proteins", "veins".
                if (last.endsWith(u's') && !rhymeWord.endsWith(u's') &&
                    words.contains(inflected(rhymeWord, Form::plural)))
                    rhymeWord = inflected(rhymeWord, Form::plural);
                cut = k;
            }
        }
        QString first = capitalized(statement.mid(0, cut + 1).join(' '));
        while (!first.isEmpty() && first.back().isPunct())
            first.chop(1);
        QString second;
        if (rhymeWord.isEmpty()) {
            second = QStringLiteral("and that is %1, remembered through and through.").arg(term.term);
        } else {
            static const char* const shapes[] = {"so picture %1 beside the %2.",
                                                 "and %1 will stick like the %2.",
                                                 "tie %1 in your mind to the %2."};
            second = QString::fromLatin1(shapes[(seed >> 8) % 3]).arg(term.term, rhymeWord);
        }
        couplets.append({first + u',', second});
        pairs.append({term.term, rhymeWord.isEmpty() ? QStringLiteral("no rhyme found")
                                                     : QStringLiteral("rhymes with “%1”").arg(rhymeWord)});
    }
    writer.card(QStringLiteral("Your rhymes"), Writer::grid(pairs));
    for (qsizetype i = 0; i < terms.size(); ++i)
        writer.card(QStringLiteral("Couplet %1: %2").arg(QString::number(i + 1), terms.at(i).term),
                    Writer::lines(couplets.at(i)));
    writer.tip(QStringLiteral("Clap the beat as you read; a line you can sing is a line you keep."));
    MnemonicGenerator::Mnemonic result;
    result.terms = terms;
    result.device = couplets.first().join(' ');
    result.html = writer.html();
    result.explanation =
        QStringLiteral("A rhyming couplet for each of %1 terms, the rhymes found by word endings: "
                       "%2")
            .arg(QString::number(terms.size()), result.device);
    return result;
}
