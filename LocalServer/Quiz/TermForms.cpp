#include "Quiz/TermForms.h"

#include <algorithm>

namespace {

const QRegularExpression& leadingArticle() {
    static const QRegularExpression article(R"(^(?:the|an?)\s+)", QRegularExpression::CaseInsensitiveOption);
    return article;
}

// "ATP", "DNA": matched in capitals only, so that "AT" is not found in "at".
bool isAcronym(const QString& form) {
    return form.size() >= 2 && form == form.toUpper() && form != form.toLower();
}

QString withoutArticle(const QString& text) {
    return QString(text).remove(leadingArticle());
}

} // namespace

TermForms::TermForms(const KeyTermEngine::Term& term) {
    QStringList written{term.term};
    written.append(term.forms);
    for (const QString& form : std::as_const(written)) {
        for (const QString& variant : QStringList{form, withoutArticle(form)} + numberForms(form)) {
            if (!variant.isEmpty() && !forms_.contains(variant, Qt::CaseInsensitive))
                forms_.append(variant);
            keys_.insert(key(variant));
        }
    }
    keys_.remove(QString());
    QStringList longestFirst = forms_;
    std::stable_sort(longestFirst.begin(), longestFirst.end(),
                     [](const QString& a, const QString& b) { return a.size() > b.size(); });
    QStringList alternatives;
    for (const QString& form : std::as_const(longestFirst)) {
        QString escaped =
            QRegularExpression::escape(form).replace(QStringLiteral("\\ "), QStringLiteral("\\s+"));
        alternatives.append(isAcronym(form) ? QStringLiteral("(?-i:") + escaped + ')' : escaped);
    }
    pattern_ = QRegularExpression(QStringLiteral(R"((?<![\w\-])(?:)") + alternatives.join('|') +
                                      QStringLiteral(R"()(?![\w\-]))"),
                                  QRegularExpression::CaseInsensitiveOption);
}

QString TermForms::masked(const QString& text, const QString& blank, QStringList* cut) const {
    QString out;
    qsizetype at = 0;
    for (auto it = pattern_.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        out += text.mid(at, match.capturedStart() - at) + blank;
        at = match.capturedEnd();
        if (cut && !cut->contains(match.captured()))
            cut->append(match.captured());
    }
    return out + text.mid(at);
}

QStringList TermForms::accepted(const QStringList& cut) const {
    QStringList out;
    QSet<QString> seen;
    const auto add = [&](const QString& answer) {
        const QString simplified = answer.simplified();
        if (!simplified.isEmpty() && !seen.contains(simplified.toLower())) {
            seen.insert(simplified.toLower());
            out.append(simplified);
        }
    };
    for (const QString& form : forms_ + cut)
        add(form);
    for (const QString& form : forms_ + cut) {
        const QString bare = withoutArticle(form);
        add(QStringLiteral("the ") + bare);
        if (!looksPlural(bare))
            add(indefiniteArticle(bare) + ' ' + bare);
    }
    return out;
}

QStringList TermForms::numberForms(const QString& text) {
    const QString lower = text.toLower();
    const auto chop = [&text](int letters, const char* ending) { return text.chopped(letters) + ending; };
    if (lower.size() < 3)
        return {text + 's'};
    if (lower.endsWith("ies") && lower.size() > 4)
        return {chop(3, "y")};
    if (lower.endsWith("sses") || lower.endsWith("shes") || lower.endsWith("ches") || lower.endsWith("xes") ||
        lower.endsWith("zes"))
        return {chop(2, "")};
    if (lower.endsWith("ses")) // bases, processes, analyses
        return {chop(1, ""), chop(2, ""), chop(2, "is")};
    if (lower.endsWith("ae")) // vertebrae
        return {chop(1, "")};
    if (lower.endsWith("ia")) // mitochondria, bacteria
        return {chop(1, "on"), chop(1, "um"), text + 's'};
    if (lower.endsWith('a')) // vertebra, stomata
        return {text + 'e', text + 's', chop(1, "um"), chop(1, "on")};
    if (lower.endsWith("um")) // bacterium
        return {chop(2, "a"), text + 's'};
    if (lower.endsWith("on") && !lower.endsWith("tion") && !lower.endsWith("sion")) // mitochondrion; electron
        return {text + 's', chop(2, "a")};
    if (lower.endsWith("us")) // nucleus, virus
        return {chop(2, "i"), text + "es"};
    if (lower.endsWith('i')) // nuclei
        return {chop(1, "us")};
    if (lower.endsWith("is")) // analysis
        return {chop(2, "es")};
    if (lower.endsWith('s') && !lower.endsWith("ss"))
        return {chop(1, "")};
    if (lower.endsWith('y') && !QStringLiteral("aeiou").contains(lower.at(lower.size() - 2)))
        return {chop(1, "ies")};
    if (lower.endsWith('s') || lower.endsWith('x') || lower.endsWith('z') || lower.endsWith("ch") ||
        lower.endsWith("sh"))
        return {text + "es"};
    return {text + 's'};
}

// Acronyms go by the name of their first letter: "an RNA strand", "a DNA strand".
QString TermForms::indefiniteArticle(const QString& text) {
    if (text.isEmpty())
        return QStringLiteral("a");
    const QChar first = text.at(0).toLower();
    const bool vowel = isAcronym(text.section(' ', 0, 0)) ? QStringLiteral("aefhilmnorsx").contains(first)
                                                          : QStringLiteral("aeiou").contains(first);
    return vowel ? QStringLiteral("an") : QStringLiteral("a");
}

bool TermForms::looksPlural(const QString& text) {
    const QString last = text.section(' ', -1).toLower();
    if (last.size() < 3 || isAcronym(text.section(' ', -1)))
        return false;
    if (last.endsWith("ia") || last.endsWith("ae") || last.endsWith('i'))
        return true;
    return last.endsWith('s') && !last.endsWith("ss") && !last.endsWith("us") && !last.endsWith("is");
}

QString TermForms::key(const QString& text) {
    static const QRegularExpression punctuation(R"([^\w\s])");
    return withoutArticle(QString(text).replace(punctuation, QStringLiteral(" ")).simplified()).toLower();
}
