#include "Mnemonics/StoryMnemonic.h"

#include "Mnemonics/MnemonicGuideWriter.h"
#include "Mnemonics/MnemonicPhrasing.h"

#include <iterator>

using namespace MnemonicPhrasing;

namespace {

using Writer = MnemonicGuideWriter;

} // namespace

MnemonicGenerator::Mnemonic StoryMnemonic::make(const QList<KeyTerm>& terms,
                                                const MnemonicGenerator::Request& request) {
    static const char* const heroes[] = {"Maya", "Leo", "Ava", "Sam", "Nora", "Theo", "Iris", "Omar"};
    static const char* const middles[] = {"Next, %1 ran into %2.", "Then %1 found %2.",
                                          "After that, %1 came across %2.", "Further on, %1 discovered %2."};
    const QString hero =
        QString::fromLatin1(heroes[stableHash(termNames(terms).join('|')) % std::size(heroes)]);
    QStringList scenes;
    for (qsizetype i = 0; i < terms.size(); ++i) {
        const KeyTerm& term = terms.at(i);
        const QString meeting =
            terms.size() == 1 ? QStringLiteral("%1 met %2.").arg(hero, term.term)
            : i == 0          ? QStringLiteral("First, %1 met %2.").arg(hero, term.term)
            : i == terms.size() - 1
                ? QStringLiteral("Finally, %1 reached %2.").arg(hero, term.term)
                : QString::fromLatin1(middles[(i - 1) % std::size(middles)]).arg(hero, term.term);
        scenes.append(
            meeting + u' ' +
            capitalized(withContext(describe(term, request.difficulty) + u'.', term, request.difficulty)));
    }
    const QString opening =
        QStringLiteral("%1 set out to learn about %2.")
            .arg(hero, request.topic.isEmpty() ? QStringLiteral("some new ideas") : request.topic);
    Writer writer;
    writer.summary(summaryFor(request.topic,
                              QStringLiteral("Read the story once, then retell it from memory in the same "
                                             "order: each scene brings back one term and what it means.")));
    QList<QPair<QString, QString>> pairs;
    for (qsizetype i = 0; i < terms.size(); ++i)
        pairs.append({QStringLiteral("Scene %1").arg(i + 1), terms.at(i).term});
    writer.card(QStringLiteral("Your story: %1's journey").arg(hero),
                Writer::paragraph(opening) + Writer::grid(pairs));
    for (qsizetype i = 0; i < terms.size(); ++i)
        writer.card(QStringLiteral("Scene %1: %2").arg(QString::number(i + 1), terms.at(i).term),
                    Writer::paragraph(scenes.at(i)));
    writer.tip(QStringLiteral("Retell the story aloud in order; a scene you cannot picture is a term to read "
                              "again."));
    MnemonicGenerator::Mnemonic result;
    result.terms = terms;
    result.device =
        QStringLiteral("%1's journey: %2").arg(hero, termNames(terms).join(QStringLiteral(" → ")));
    result.html = writer.html();
    result.explanation = QStringLiteral("A story in which %1 meets %2 in turn.")
                             .arg(hero, termNames(terms).join(QStringLiteral(", ")));
    return result;
}
