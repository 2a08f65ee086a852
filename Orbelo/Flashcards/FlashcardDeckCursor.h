#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "Flashcards/Flashcard.h"
#include "Flashcards/VocabularyTerm.h"

#include <QVariantMap>
#include <QtQml/qqmlregistration.h>

// One card at a time out of a deck: which card, which side is up, whether its hint and synonyms
// are showing. The review session and the notecard walk move through their decks with it.
class FlashcardDeckCursor : public QObject {
    Q_OBJECT
    QML_ANONYMOUS
    Q_PROPERTY(int count READ count NOTIFY cardsChanged)
    Q_PROPERTY(int index READ index NOTIFY cardChanged)
    Q_PROPERTY(QString progressText READ progressText NOTIFY cardChanged)
    Q_PROPERTY(bool isFlipped READ isFlipped NOTIFY cardChanged)
    Q_PROPERTY(bool isHintShown READ isHintShown NOTIFY cardChanged)
    Q_PROPERTY(bool areSynonymsShown READ areSynonymsShown NOTIFY cardChanged)
    // The current card for the view: front, back, hint, hintFromMnemonic, synonyms (a list),
    // antonymsLine, relatedLine, hasSynonyms, frontName and backName.
    Q_PROPERTY(QVariantMap card READ card NOTIFY cardChanged)
    // The side that is up, and its name ("Term", "Definition", "Question" or "Answer").
    Q_PROPERTY(QString shownText READ shownText NOTIFY cardChanged)
    Q_PROPERTY(QString shownSide READ shownSide NOTIFY cardChanged)
    // Reading both sides aloud: the side that is up first.
    Q_PROPERTY(QString bothSidesText READ bothSidesText NOTIFY cardChanged)
public:
    using QObject::QObject;

    int count() const { return int(cards_.size()); }
    int index() const { return index_; }
    QString progressText() const;
    bool isFlipped() const { return isFlipped_; }
    bool isHintShown() const { return isHintShown_; }
    bool areSynonymsShown() const { return areSynonymsShown_; }
    QVariantMap card() const;
    QString shownText() const;
    QString shownSide() const;
    QString bothSidesText() const;
    const QList<Flashcard>& cards() const { return cards_; }
    std::optional<Flashcard> current() const;

    Q_INVOKABLE void flip();
    // Only when the card has a hint.
    Q_INVOKABLE void revealHint();
    Q_INVOKABLE void toggleSynonyms();

    // New synonyms, antonyms and related terms for the cards whose front is one of these terms.
    void mergeSynonyms(const QList<VocabularyTerm>& terms);
    // The same for any list of cards; false when no card took any.
    static bool mergeSynonyms(QList<Flashcard>& cards, const QList<VocabularyTerm>& terms);

Q_SIGNALS:
    void cardsChanged();
    void cardChanged();

protected:
    void setCards(const QList<Flashcard>& cards);
    // Shows card `index`, front side up.
    void show(int index);
    // Whether a card opens on its back.
    virtual bool opensOnBack() const { return false; }

private:
    bool backIsUp() const { return opensOnBack() != isFlipped_; }

    QList<Flashcard> cards_;
    int index_ = 0;
    bool isFlipped_ = false;
    bool isHintShown_ = false;
    bool areSynonymsShown_ = false;
};
