#pragma once

#include "Flashcard.h"
#include "JsonRecord.h"
#include "SynonymItem.h"

struct VocabularyTerm {
    QString term;
    QString definition;
    std::optional<QString> context;
    std::optional<QString> importance;
    std::optional<QString> hint;
    std::optional<QString> hintSource;
    std::optional<QList<SynonymItem>> synonyms;
    std::optional<QList<QString>> antonyms;
    std::optional<QList<QString>> relatedTerms;
    std::optional<QString> usageNote;
    JSON_RECORD(VocabularyTerm, term, definition, context, importance, hint, hintSource, synonyms, antonyms,
                relatedTerms, usageNote)

    // The study card for the vocabulary deck: term on the front, definition on the back.
    Flashcard flashcard() const {
        Flashcard card;
        card.id = QStringLiteral("vocab_") + term;
        card.front = term;
        card.back = definition;
        card.hint = hint;
        card.hintSource = hintSource;
        card.synonyms = synonyms;
        card.antonyms = antonyms;
        card.relatedTerms = relatedTerms;
        card.usageNote = usageNote;
        return card;
    }
};
