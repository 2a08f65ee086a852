#pragma once

#include "Flashcards/FlashcardDeckCursor.h"

#include "APIClient.h"
#include "Flashcards/FlashcardReviewRequest.h"
#include "TaskScope.h"

#include <QVariantList>

class PreferencesStore;

// A review of a flashcard deck: each card is rated by how well it was recalled and the backend
// schedules its next review from the rating. A failed rating keeps the card with the error; rating
// the last card ends the session.
class FlashcardReviewSession : public FlashcardDeckCursor {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Opened by FlashcardDeckModel")
    Q_PROPERTY(bool promptWithBack READ promptWithBack WRITE setPromptWithBack NOTIFY promptWithBackChanged)
    Q_PROPERTY(QString promptToggleLabel READ promptToggleLabel NOTIFY promptWithBackChanged)
    Q_PROPERTY(QString promptToggleHint READ promptToggleHint NOTIFY promptWithBackChanged)
    Q_PROPERTY(bool isReviewing READ isReviewing NOTIFY isReviewingChanged)
    Q_PROPERTY(QString errorMessage READ errorMessage NOTIFY errorMessageChanged)
    // {quality, name, accessibleName, hint, key} for Again, Hard, Good and Easy.
    Q_PROPERTY(QVariantList ratings READ ratings CONSTANT)
public:
    enum class Rating { again = 0, hard = 1, good = 2, easy = 3 };
    static inline const QString promptWithBackKey = QStringLiteral("flashcardPromptWithBack");

    FlashcardReviewSession(APIClient client, PreferencesStore& preferences, QObject* parent = nullptr);

    bool promptWithBack() const;
    void setPromptWithBack(bool on);
    QString promptToggleLabel() const;
    QString promptToggleHint() const;
    bool isReviewing() const { return isReviewing_; }
    QString errorMessage() const { return errorMessage_; }
    static QVariantList ratings();

    void start(const QList<Flashcard>& cards);
    // Sends the rating (0 to 3) of the current card; ignored while one is in flight.
    Q_INVOKABLE void rate(int quality);

    // What is sent for a rating: the card's texts without their "In context:" example.
    static FlashcardReviewRequest request(const Flashcard& card, int quality);
    static QString withoutContext(const QString& text);

Q_SIGNALS:
    void promptWithBackChanged();
    void isReviewingChanged();
    void errorMessageChanged();
    // A card was rated: whatever is being read aloud is about the last card.
    void stopReadingAloud();
    void finished();

protected:
    bool opensOnBack() const override { return promptWithBack(); }

private:
    static async::Task<void> send(FlashcardReviewSession* self, Flashcard card, int quality);
    void advance();
    void setReviewing(bool reviewing);
    void setErrorMessage(const QString& message);

    APIClient client_;
    PreferencesStore* preferences_;
    bool isReviewing_ = false;
    QString errorMessage_;
    async::TaskScope tasks_; // last: tasks end before what they use
};
