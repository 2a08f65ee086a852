#include "Import/NotecardParser.h"

#include "Import/CardText.h"
#include "Import/InstructionFlagger.h"
#include "Import/NotecardRowReader.h"

#include <QLocale>

namespace {

using Field = NotecardParser::Field;
using CardBreak = NotecardParser::CardBreak;

// Detection reads this much of the deck: enough rows to judge, little time on a large deck.
constexpr qsizetype detectionSampleChars = 64 * 1024;

// Fields with their ends trimmed; empty trailing fields (spreadsheet exports pad rows) dropped.
QStringList trimmedFields(const QStringList& fields) {
    QStringList trimmed;
    trimmed.reserve(fields.size());
    for (const QString& field : fields)
        trimmed.append(field.trimmed());
    while (trimmed.size() > 2 && trimmed.last().isEmpty())
        trimmed.removeLast();
    return trimmed;
}

QString joinText(Field field) {
    switch (field) {
    case Field::tab:
        return QStringLiteral("\t");
    case Field::comma:
        return QStringLiteral(",");
    case Field::semicolon:
        return QStringLiteral(";");
    case Field::dash:
        return QStringLiteral(" - ");
    }
    return {};
}

QString separatorName(Field field) {
    switch (field) {
    case Field::tab:
        return QStringLiteral("tab");
    case Field::comma:
        return QStringLiteral("comma");
    case Field::semicolon:
        return QStringLiteral("semicolon");
    case Field::dash:
        return QStringLiteral("dash");
    }
    return {};
}

// How well a pairing of separators splits the deck: the share of its lines that lie in rows of
// exactly two non-empty fields, half credit for rows with more, and a small bonus for terms no
// longer than their definitions (what tells "term - a, b" split at the dash from the same split
// at the comma). Counting lines rather than rows keeps paragraphs from hiding unreadable lines in
// a few large rows; and a deck without a blank line between cards is no deck of paragraphs.
double score(const QString& sample, Field field, CardBreak cardBreak) {
    NotecardRowReader reader(sample, field, cardBreak);
    NotecardRowReader::Row row;
    int rows = 0;
    int lines = 0;
    int credit = 0;
    int shortTerms = 0;
    while (reader.next(&row)) {
        ++rows;
        lines += row.lines;
        const QStringList fields = trimmedFields(row.fields);
        if (fields.size() < 2 || fields[0].isEmpty() || fields[1].isEmpty())
            continue;
        credit += fields.size() == 2 ? 2 * row.lines : row.lines;
        if (fields[0].size() <= fields[1].size())
            ++shortTerms;
    }
    if (rows == 0 || (cardBreak == CardBreak::blankLine && rows == 1))
        return 0;
    return credit / (2.0 * lines) + 0.1 * shortTerms / rows;
}

// The start of the deck, ended at a line end when there is one.
QString detectionSample(const QString& text) {
    if (text.size() <= detectionSampleChars)
        return text;
    const qsizetype lastLineEnd = text.lastIndexOf(u'\n', detectionSampleChars);
    return text.left(lastLineEnd > 0 ? lastLineEnd : detectionSampleChars);
}

std::pair<Field, CardBreak> detect(const QString& text, std::optional<Field> field,
                                   std::optional<CardBreak> cardBreak) {
    // On a tie the earlier pairing wins: Quizlet's default first, and semicolons before commas,
    // which prose is full of.
    static constexpr Field fields[] = {Field::tab, Field::semicolon, Field::comma, Field::dash};
    static constexpr CardBreak breaks[] = {CardBreak::newline, CardBreak::blankLine};
    const QString sample = detectionSample(text);
    std::pair<Field, CardBreak> best{field.value_or(Field::tab), cardBreak.value_or(CardBreak::newline)};
    double bestScore = 0;
    for (const CardBreak b : breaks) {
        if (cardBreak && *cardBreak != b)
            continue;
        for (const Field f : fields) {
            if (field && *field != f)
                continue;
            const double candidate = score(sample, f, b);
            if (candidate > bestScore) {
                bestScore = candidate;
                best = {f, b};
            }
        }
    }
    return best;
}

// At most `limit` characters, never ending inside a surrogate pair.
bool cut(QString* text, int limit) {
    if (text->size() <= limit)
        return false;
    text->truncate(limit);
    if (text->back().isHighSurrogate())
        text->chop(1);
    return true;
}

QString rowPreview(const QString& text, const NotecardRowReader::Row& row) {
    constexpr qsizetype previewChars = 120;
    QString preview =
        CardText::clean(text.mid(row.start, qMin<qsizetype>(row.end - row.start, 4 * previewChars))).text;
    preview.replace(u'\n', u' ');
    if (cut(&preview, previewChars))
        preview.append(u'…');
    return preview;
}

QString count(int n, const QString& singular, const QString& plural) {
    return QLocale(QLocale::English).toString(n) + u' ' + (n == 1 ? singular : plural);
}

} // namespace

QString NotecardParser::rawValue(Field field) {
    return separatorName(field);
}

QString NotecardParser::rawValue(CardBreak cardBreak) {
    return cardBreak == CardBreak::newline ? QStringLiteral("newline") : QStringLiteral("blank_line");
}

std::optional<NotecardParser::Field> NotecardParser::fieldFromRaw(const QString& raw) {
    for (const Field field : {Field::tab, Field::comma, Field::semicolon, Field::dash}) {
        if (rawValue(field) == raw)
            return field;
    }
    return std::nullopt;
}

std::optional<NotecardParser::CardBreak> NotecardParser::cardBreakFromRaw(const QString& raw) {
    for (const CardBreak cardBreak : {CardBreak::newline, CardBreak::blankLine}) {
        if (rawValue(cardBreak) == raw)
            return cardBreak;
    }
    return std::nullopt;
}

NotecardParser::Deck NotecardParser::parse(const QString& text, std::optional<Field> field,
                                           std::optional<CardBreak> cardBreak) {
    Deck deck;
    std::tie(deck.field, deck.cardBreak) =
        field && cardBreak ? std::pair{*field, *cardBreak} : detect(text, field, cardBreak);
    int taggedCards = 0;
    int entityCards = 0;
    int controlCards = 0;
    int cutTerms = 0;
    int cutDefinitions = 0;
    const auto skip = [&](const NotecardRowReader::Row& row, const QString& reason) {
        if (++deck.skippedCount <= maxListedSkips)
            deck.skipped.append({row.line, reason, rowPreview(text, row)});
    };

    NotecardRowReader reader(text, deck.field, deck.cardBreak);
    NotecardRowReader::Row row;
    while (reader.next(&row)) {
        const QStringList fields = trimmedFields(row.fields);
        if (fields.size() < 2) {
            skip(row,
                 QStringLiteral("No %1 between the term and the definition.").arg(separatorName(deck.field)));
            continue;
        }
        const CardText term = CardText::clean(fields[0]);
        // The definition keeps the separators inside it as they were written.
        const CardText definition =
            CardText::clean(row.fields.mid(1, fields.size() - 1).join(joinText(deck.field)));
        if (term.text.isEmpty()) {
            skip(row, QStringLiteral("The term is empty."));
            continue;
        }
        if (definition.text.isEmpty()) {
            skip(row, QStringLiteral("The definition is empty."));
            continue;
        }
        taggedCards += term.hadTags || definition.hadTags;
        entityCards += term.hadEntities || definition.hadEntities;
        controlCards += term.hadControls || definition.hadControls;

        Card card{term.text, definition.text, InstructionFlagger::reasonToFlag(term.text, definition.text)};
        cutTerms += cut(&card.term, maxTermChars);
        cutDefinitions += cut(&card.definition, maxDefinitionChars);
        ++deck.totalCards;
        deck.flaggedCount += card.flagReason.has_value();
        if (deck.cards.size() < maxCards)
            deck.cards.append(std::move(card));
    }

    const QString cards = QStringLiteral("card");
    const QString cardsPlural = QStringLiteral("cards");
    if (taggedCards > 0)
        deck.notes.append(
            QStringLiteral("Removed HTML formatting from %1.").arg(count(taggedCards, cards, cardsPlural)));
    if (entityCards > 0)
        deck.notes.append(
            QStringLiteral("Turned HTML character codes such as &amp; into the characters they stand "
                           "for in %1.")
                .arg(count(entityCards, cards, cardsPlural)));
    if (controlCards > 0)
        deck.notes.append(QStringLiteral("Removed control characters and invisible formatting from %1.")
                              .arg(count(controlCards, cards, cardsPlural)));
    if (cutTerms > 0)
        deck.notes.append(QStringLiteral("Shortened %1 to %2 characters.")
                              .arg(count(cutTerms, QStringLiteral("term"), QStringLiteral("terms")),
                                   QLocale(QLocale::English).toString(maxTermChars)));
    if (cutDefinitions > 0)
        deck.notes.append(
            QStringLiteral("Shortened %1 to %2 characters.")
                .arg(count(cutDefinitions, QStringLiteral("definition"), QStringLiteral("definitions")),
                     QLocale(QLocale::English).toString(maxDefinitionChars)));
    return deck;
}
