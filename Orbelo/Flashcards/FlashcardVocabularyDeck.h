#pragma once

#include "Flashcards/Flashcard.h"
#include "Flashcards/VocabularyTerm.h"

#include <QUuid>

// A course's vocabulary as study cards: term on the front, definition on the back. Terms whose
// term or definition is blank once trimmed are left out.
struct FlashcardVocabularyDeck {
    QUuid id = QUuid::createUuid();
    QString title;
    QList<Flashcard> cards;

    static FlashcardVocabularyDeck make(const QString& courseName, const QList<VocabularyTerm>& terms);
};
