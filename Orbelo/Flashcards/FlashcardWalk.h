#pragma once

#include "Flashcards/FlashcardDeckCursor.h"

#include <QVariantList>

// A plain walk through notecards, forwards and back, with no ratings: a course's vocabulary, or
// any list of {front, back} cards handed to the "Study as flashcards" sheet.
class FlashcardWalk : public FlashcardDeckCursor {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool isLast READ isLast NOTIFY cardChanged)
    Q_PROPERTY(bool canGoBack READ canGoBack NOTIFY cardChanged)
    Q_PROPERTY(QString mainButtonText READ mainButtonText NOTIFY cardChanged)
    Q_PROPERTY(QString mainButtonDescription READ mainButtonDescription NOTIFY cardChanged)
public:
    // A drag shorter than this, or more vertical than horizontal, is no swipe.
    static constexpr double minimumSwipe = 50;

    using FlashcardDeckCursor::FlashcardDeckCursor;

    bool isLast() const { return index() + 1 >= count(); }
    bool canGoBack() const { return index() > 0; }
    QString mainButtonText() const;
    QString mainButtonDescription() const;

    void start(const QList<Flashcard>& cards) { setCards(cards); }
    // Cards as the sheet is given them: maps or objects with "front" and "back".
    Q_INVOKABLE void startWith(const QVariantList& cards);
    Q_INVOKABLE void next();
    Q_INVOKABLE void previous();
    // "Next card", or "Finish" on the last card.
    Q_INVOKABLE void advance();
    // A drag of (dx, dy): leftward moves on, rightward back.
    Q_INVOKABLE void swipe(double dx, double dy);

Q_SIGNALS:
    void finished();
};
