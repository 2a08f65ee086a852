#include "Mnemonics/AcronymMnemonic.h"

#include "Mnemonics/AcronymOrder.h"
#include "Mnemonics/MnemonicGuideWriter.h"
#include "Mnemonics/MnemonicPhrasing.h"
#include "Terms/CommonWords.h"

using namespace MnemonicPhrasing;

namespace {

using Writer = MnemonicGuideWriter;

} // namespace

MnemonicGenerator::Mnemonic AcronymMnemonic::make(const QList<KeyTerm>& given,
                                                  const MnemonicGenerator::Request& request) {
    QString initials;
    for (const KeyTerm& term : given)
        initials += initialOf(term.term);
    MnemonicGenerator::Mnemonic result;
    QString word;
    for (const int at : AcronymOrder::best(initials)) {
        result.terms.append(given.at(at));
        word += initials.at(at).toUpper();
    }
    const CommonWords& words = CommonWords::instance();
    const QString lower = word.toLower();
    QStringList spelled;
    for (const QChar letter : word)
        spelled.append(letter);
    const QString howToSay =
        words.isCommon(lower) || words.contains(lower)
            ? QStringLiteral("“%1” is a real word, so it is easy to picture.").arg(lower)
        : AcronymOrder::pronounceability(lower) > 0
            ? QStringLiteral("Say it as one word: %1.").arg(word)
            : QStringLiteral("Spell it out, letter by letter: %1.").arg(spelled.join(u'-'));
    Writer writer;
    writer.summary(summaryFor(request.topic,
                              QStringLiteral("Say “%1” aloud, then name the term each letter stands for and "
                                             "what it means. Cover the table's last two columns to test "
                                             "yourself.")
                                  .arg(word)));
    QList<QPair<QString, QString>> letters;
    QList<QStringList> rows;
    QStringList legend;
    for (qsizetype i = 0; i < result.terms.size(); ++i) {
        const KeyTerm& term = result.terms.at(i);
        const QString letter = word.mid(i, 1);
        letters.append({letter, term.term});
        rows.append({letter, term.term, shortened(term.definition, definitionWords(request.difficulty))});
        legend.append(letter + QStringLiteral(" = ") + term.term);
    }
    writer.card(QStringLiteral("Your acronym: ") + word,
                Writer::strongParagraph(word) + Writer::paragraph(howToSay) + Writer::grid(letters));
    for (qsizetype i = 0; i < result.terms.size(); ++i) {
        const KeyTerm& term = result.terms.at(i);
        writer.card(QStringLiteral("%1 is for %2").arg(QString(word.at(i)), term.term),
                    Writer::paragraph(capitalized(
                        withContext(describe(term, request.difficulty) + '.', term, request.difficulty))));
    }
    writer.card(
        QStringLiteral("Letters, terms and meanings"),
        Writer::table({QStringLiteral("Letter"), QStringLiteral("Term"), QStringLiteral("Meaning")}, rows));
    writer.tip(QStringLiteral("Write %1 down the margin of a page and fill in each term from memory, then "
                              "check it against the table.")
                   .arg(word));
    result.device = word;
    result.html = writer.html();
    result.explanation = QStringLiteral("%1: %2. %3").arg(word, legend.join(QStringLiteral(", ")), howToSay);
    return result;
}
