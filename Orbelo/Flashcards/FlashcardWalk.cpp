#include "Flashcards/FlashcardWalk.h"

#include <cmath>

QString FlashcardWalk::mainButtonText() const {
    return isLast() ? QStringLiteral("Finish") : QStringLiteral("Next card");
}

QString FlashcardWalk::mainButtonDescription() const {
    return isLast() ? QStringLiteral("Finishes this vocabulary deck.")
                    : QStringLiteral("Shows the next vocabulary card.");
}

void FlashcardWalk::startWith(const QVariantList& cards) {
    QList<Flashcard> notecards;
    for (const QVariant& value : cards) {
        const QVariantMap map = value.toMap();
        Flashcard card;
        card.id = QStringLiteral("vocab_") + QString::number(notecards.size());
        card.front = map.value(QStringLiteral("front")).toString().trimmed();
        card.back = map.value(QStringLiteral("back")).toString().trimmed();
        if (!card.front.isEmpty() && !card.back.isEmpty())
            notecards << card;
    }
    start(notecards);
}

void FlashcardWalk::next() {
    if (!isLast())
        show(index() + 1);
}

void FlashcardWalk::previous() {
    if (canGoBack())
        show(index() - 1);
}

void FlashcardWalk::advance() {
    if (isLast())
        Q_EMIT finished();
    else
        next();
}

void FlashcardWalk::swipe(double dx, double dy) {
    if (std::abs(dx) < minimumSwipe || std::abs(dx) <= std::abs(dy))
        return;
    if (dx < 0)
        next();
    else
        previous();
}
