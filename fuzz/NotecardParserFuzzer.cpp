#include "Import/DeckText.h"
#include "Import/NotecardParser.h"

#include <cstddef>
#include <cstdint>

namespace {

bool hasHiddenCharacters(const QString& text) {
    for (const QChar c : text) {
        if ((c.unicode() < 0x20 && c != u'\n') || (c.unicode() >= 0x7f && c.unicode() <= 0x9f))
            return true;
    }
    return false;
}

} // namespace

// The first byte picks the separators (or leaves them to detection); the rest is the file.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const uint8_t choice = data[0];
    const DeckText decoded =
        DeckText::decode(QByteArray(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1)));
    if (!decoded.error.isEmpty())
        return 0;
    std::optional<NotecardParser::Field> field;
    std::optional<NotecardParser::CardBreak> cardBreak;
    if (choice & 0x80)
        field = NotecardParser::Field(choice & 0x3);
    if (choice & 0x40)
        cardBreak = NotecardParser::CardBreak((choice >> 2) & 0x1);
    const NotecardParser::Deck deck = NotecardParser::parse(decoded.text, field, cardBreak);

    if (deck.cards.size() > NotecardParser::maxCards || deck.totalCards < deck.cards.size() ||
        deck.flaggedCount > deck.totalCards || deck.skipped.size() > NotecardParser::maxListedSkips ||
        deck.skippedCount < deck.skipped.size())
        __builtin_trap();
    if ((field && deck.field != *field) || (cardBreak && deck.cardBreak != *cardBreak))
        __builtin_trap();
    for (const NotecardParser::Card& card : deck.cards) {
        if (card.term.isEmpty() || card.definition.isEmpty() ||
            card.term.size() > NotecardParser::maxTermChars ||
            card.definition.size() > NotecardParser::maxDefinitionChars || hasHiddenCharacters(card.term) ||
            hasHiddenCharacters(card.definition))
            __builtin_trap();
    }
    int previousLine = 0;
    for (const NotecardParser::SkippedRow& row : deck.skipped) {
        if (row.lineNumber <= previousLine || row.reason.isEmpty())
            __builtin_trap();
        previousLine = row.lineNumber;
    }
    return 0;
}
