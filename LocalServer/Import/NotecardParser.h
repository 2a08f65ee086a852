#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// Reads a term–definition deck exported as text (Quizlet's export and its look-alikes) into
// cards. Separators that are not given are detected: every pairing of a field and a card
// separator is scored by how consistently it splits the deck's rows into exactly two non-empty
// fields. Fields may be quoted as in CSV (separators and line breaks inside quotes belong to the
// field). Each card is cleaned (CardText) and checked for instructions to an AI
// (InstructionFlagger); rows that give no card are listed with their line and the reason.
class NotecardParser {
public:
    enum class Field { tab, comma, semicolon, dash };
    enum class CardBreak { newline, blankLine };

    // Cards past this many are counted but not imported.
    static constexpr int maxCards = 5000;
    static constexpr int maxTermChars = 1000;
    static constexpr int maxDefinitionChars = 10000;
    // Skipped rows listed (all are counted).
    static constexpr int maxListedSkips = 200;

    struct Card {
        QString term;
        QString definition;
        std::optional<QString> flagReason;
    };
    struct SkippedRow {
        int lineNumber = 0;
        QString reason;
        QString preview;
    };
    struct Deck {
        Field field = Field::tab;
        CardBreak cardBreak = CardBreak::newline;
        QList<Card> cards; // the first maxCards of the deck
        int totalCards = 0;
        int flaggedCount = 0;
        QList<SkippedRow> skipped; // the first maxListedSkips
        int skippedCount = 0;
        QStringList notes;
    };

    static QString rawValue(Field field);
    static QString rawValue(CardBreak cardBreak);
    static std::optional<Field> fieldFromRaw(const QString& raw);
    static std::optional<CardBreak> cardBreakFromRaw(const QString& raw);

    // `text` has \n line ends (DeckText).
    static Deck parse(const QString& text, std::optional<Field> field = std::nullopt,
                      std::optional<CardBreak> cardBreak = std::nullopt);
};
