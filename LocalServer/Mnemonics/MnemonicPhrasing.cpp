#include "Mnemonics/MnemonicPhrasing.h"

namespace {

// A definition starts with a capital as a sentence would; inside one it does not, unless its
// first word is an abbreviation ("ATP is …").
QString lowerFirst(QString text) {
    const QString first = text.section(u' ', 0, 0);
    const bool abbreviation = first.size() > 1 && first == first.toUpper() && first != first.toLower();
    if (!text.isEmpty() && text.at(0).isUpper() && !abbreviation)
        text[0] = text.at(0).toLower();
    return text;
}

} // namespace

quint32 MnemonicPhrasing::stableHash(const QString& text, quint32 salt) {
    quint32 hash = 2166136261u ^ salt;
    for (const QChar c : text) {
        hash ^= c.unicode();
        hash *= 16777619u;
    }
    return hash;
}

QChar MnemonicPhrasing::initialOf(const QString& term) {
    for (const QChar c : term.normalized(QString::NormalizationForm_D))
        if (c.isLetter())
            return c.toLower();
    return {};
}

QString MnemonicPhrasing::capitalized(QString text) {
    if (!text.isEmpty())
        text[0] = text.at(0).toUpper();
    return text;
}

int MnemonicPhrasing::definitionWords(const QString& difficulty) {
    return difficulty == "easy" ? 10 : difficulty == "medium" ? 20 : 1000;
}

QString MnemonicPhrasing::shortened(const QString& text, int maxWords) {
    QStringList words = text.simplified().split(' ', Qt::SkipEmptyParts);
    const bool cut = words.size() > maxWords;
    words = words.mid(0, maxWords);
    QString result = words.join(' ');
    while (!result.isEmpty() && (result.back().isPunct() && result.back() != u')'))
        result.chop(1);
    return cut ? result + QStringLiteral("…") : result;
}

QString MnemonicPhrasing::describe(const KeyTerm& term, const QString& difficulty) {
    const QString definition = shortened(term.definition, definitionWords(difficulty));
    if (definition.isEmpty())
        return term.term;
    if (definition.left(term.term.size() + 12).contains(term.term, Qt::CaseInsensitive))
        return definition;
    return term.term + QStringLiteral(" is ") + lowerFirst(definition);
}

QString MnemonicPhrasing::withContext(const QString& text, const KeyTerm& term, const QString& difficulty) {
    if (difficulty != "hard" || term.context.isEmpty())
        return text;
    return text + QStringLiteral(" In the text: ") + term.context;
}

QString MnemonicPhrasing::summaryFor(const QString& topic, const QString& text) {
    return topic.isEmpty() ? text : QStringLiteral("These cover %1. %2").arg(topic, text);
}

QStringList MnemonicPhrasing::termNames(const QList<KeyTerm>& terms) {
    QStringList names;
    for (const KeyTerm& term : terms)
        names.append(term.term);
    return names;
}

QString MnemonicPhrasing::inflected(const QString& word, Form form) {
    if (form == Form::plain)
        return word;
    if (word.endsWith(u's') || word.endsWith(u'x') || word.endsWith(u'z') ||
        word.endsWith(QStringLiteral("ch")) || word.endsWith(QStringLiteral("sh")))
        return word + QStringLiteral("es");
    if (word.endsWith(u'y') && word.size() > 1 && !QStringLiteral("aeiou").contains(word.at(word.size() - 2)))
        return word.chopped(1) + QStringLiteral("ies");
    return word + u's';
}
