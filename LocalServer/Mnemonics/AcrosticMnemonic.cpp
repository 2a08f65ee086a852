#include "Mnemonics/AcrosticMnemonic.h"

#include "Mnemonics/MnemonicGuideWriter.h"
#include "Mnemonics/MnemonicPhrasing.h"
#include "Terms/CommonWords.h"

#include <QSet>

using namespace MnemonicPhrasing;

namespace {

using Writer = MnemonicGuideWriter;

// Word shapes of an acrostic clause of each length: adjective, noun, verb, adjective, plural noun.
using Part = CommonWords::Part;
struct Slot {
    Part part;
    Form form;
};

QList<Slot> clauseShape(qsizetype length) {
    switch (length) {
    case 1:
        return {{Part::noun, Form::plain}};
    case 2:
        return {{Part::adjective, Form::plain}, {Part::noun, Form::plural}};
    case 3:
        return {{Part::adjective, Form::plain}, {Part::noun, Form::plain}, {Part::verb, Form::thirdPerson}};
    case 4:
        return {{Part::adjective, Form::plain},
                {Part::noun, Form::plain},
                {Part::verb, Form::thirdPerson},
                {Part::noun, Form::plural}};
    default:
        return {{Part::adjective, Form::plain},
                {Part::noun, Form::plain},
                {Part::verb, Form::thirdPerson},
                {Part::adjective, Form::plain},
                {Part::noun, Form::plural}};
    }
}

// A common word for the letter in the slot's shape, the same for the same term; a word the
// sentence already has is passed over. Falls back to another part of speech, then to any word of
// the list, then to the term's own first word.
QString acrosticWord(const KeyTerm& term, qsizetype position, const Slot& slot, QSet<QString>& used) {
    const CommonWords& words = CommonWords::instance();
    const QChar letter = initialOf(term.term);
    const quint32 seed = stableHash(term.term, quint32(position));
    const Part parts[] = {slot.part, Part::noun, Part::adjective, Part::verb};
    for (const Part part : parts) {
        const QStringList candidates = words.starting(letter, part).mid(0, 12);
        for (qsizetype i = 0; i < candidates.size(); ++i) {
            const QString base = candidates.at((seed + i) % candidates.size());
            const QString word = inflected(base, part == slot.part ? slot.form : Form::plain);
            if (!used.contains(base) && words.contains(word)) {
                used.insert(base);
                return word;
            }
        }
    }
    if (const QString any = words.anyStarting(letter); !any.isEmpty())
        return any;
    return term.term.section(' ', 0, 0, QString::SectionSkipEmpty);
}

} // namespace

MnemonicGenerator::Mnemonic AcrosticMnemonic::make(const QList<KeyTerm>& terms,
                                                   const MnemonicGenerator::Request& request) {
    // Clauses of up to five words, the longer ones first: 7 → 4 + 3.
    const qsizetype clauses = (terms.size() + 4) / 5;
    QStringList sentenceWords;
    QStringList clauseTexts;
    QSet<QString> used;
    qsizetype at = 0;
    for (qsizetype c = 0; c < clauses; ++c) {
        const qsizetype length = (terms.size() - at + (clauses - c) - 1) / (clauses - c);
        const QList<Slot> shape = clauseShape(length);
        QStringList clause;
        for (qsizetype i = 0; i < length; ++i, ++at) {
            const QString word = capitalized(acrosticWord(terms.at(at), at, shape.at(i), used));
            clause.append(word);
            sentenceWords.append(word);
        }
        clauseTexts.append(clause.join(' '));
    }
    const QString sentence = clauseTexts.join(QStringLiteral(", ")) + u'.';

    Writer writer;
    writer.summary(summaryFor(request.topic,
                              QStringLiteral("Learn the sentence by heart. Each word begins with the first "
                                             "letter of a term, in order: say a word, then the term it "
                                             "stands for, then what it means.")));
    QList<QPair<QString, QString>> pairs;
    QStringList legend;
    for (qsizetype i = 0; i < terms.size(); ++i) {
        pairs.append({sentenceWords.at(i), terms.at(i).term});
        legend.append(sentenceWords.at(i) + QStringLiteral(" → ") + terms.at(i).term);
    }
    writer.card(QStringLiteral("Your sentence"), Writer::strongParagraph(sentence) + Writer::grid(pairs));
    for (qsizetype i = 0; i < terms.size(); ++i)
        writer.card(
            QStringLiteral("%1. %2 → %3").arg(QString::number(i + 1), sentenceWords.at(i), terms.at(i).term),
            Writer::paragraph(capitalized(withContext(describe(terms.at(i), request.difficulty) + '.',
                                                      terms.at(i), request.difficulty))));
    writer.tip(QStringLiteral("Picture the sentence as a scene and say it aloud a few times; the odder the "
                              "picture, the longer it stays."));
    MnemonicGenerator::Mnemonic result;
    result.terms = terms;
    result.device = sentence;
    result.html = writer.html();
    result.explanation = QStringLiteral("“%1” — %2.").arg(sentence, legend.join(QStringLiteral(", ")));
    return result;
}
