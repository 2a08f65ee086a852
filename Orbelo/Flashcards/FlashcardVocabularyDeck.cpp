#include "Flashcards/FlashcardVocabularyDeck.h"

FlashcardVocabularyDeck FlashcardVocabularyDeck::make(const QString& courseName,
                                                      const QList<VocabularyTerm>& terms) {
    FlashcardVocabularyDeck deck;
    deck.title = courseName + QStringLiteral(" · Vocabulary");
    for (const VocabularyTerm& term : terms) {
        Flashcard card = term.flashcard();
        card.front = card.front.trimmed();
        card.back = card.back.trimmed();
        if (!card.front.isEmpty() && !card.back.isEmpty())
            deck.cards << card;
    }
    return deck;
}
