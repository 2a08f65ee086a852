#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "APIClient.h"
#include "ForYou/ForYouCardList.h"
#include "ForYou/ForYouEventCreate.h"
#include "TaskScope.h"

#include <QQueue>
#include <QVariantMap>
#include <QtQml/qqmlregistration.h>

// The daily study feed on the Study tab: ten cards, one at a time. Leaving a card with "Got it,
// next card" or "Skip this card" tells the backend "engaged" or "skipped"; the walk moves on at
// once and those events go out behind it, one after another in the order the cards were left.
// An event that fails is dropped; it never holds up the walk or the events after it.
class DailyStudyFeedModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool isLoading READ isLoading NOTIFY isLoadingChanged)
    Q_PROPERTY(QString errorMessage READ errorMessage NOTIFY errorMessageChanged)
    // Loaded without error, and no cards for today.
    Q_PROPERTY(bool isEmpty READ isEmpty NOTIFY positionChanged)
    // Every card has been left; the session is over.
    Q_PROPERTY(bool isFinished READ isFinished NOTIFY positionChanged)
    Q_PROPERTY(int currentIndex READ currentIndex NOTIFY positionChanged)
    Q_PROPERTY(int count READ count NOTIFY positionChanged)
    Q_PROPERTY(bool isLastCard READ isLastCard NOTIFY positionChanged)
    // "Card 3 of 10".
    Q_PROPERTY(QString positionText READ positionText NOTIFY positionChanged)
    // "Got it, next card", or "Finish session" on the last card.
    Q_PROPERTY(QString advanceText READ advanceText NOTIFY positionChanged)
    // The card shown, by the role names of ForYouCardList; empty when none is.
    Q_PROPERTY(QVariantMap currentCard READ currentCard NOTIFY currentCardChanged)
    Q_PROPERTY(ForYouCardList* cards READ cards CONSTANT)
public:
    static inline const QString engagedEvent = QStringLiteral("engaged");
    static inline const QString skippedEvent = QStringLiteral("skipped");

    explicit DailyStudyFeedModel(QObject* parent = nullptr);
    explicit DailyStudyFeedModel(APIClient client, QObject* parent = nullptr);

    bool isLoading() const { return isLoading_; }
    QString errorMessage() const { return errorMessage_; }
    bool isEmpty() const { return loaded_ && cards_.size() == 0; }
    bool isFinished() const { return loaded_ && cards_.size() > 0 && index_ >= cards_.size(); }
    int currentIndex() const { return index_; }
    int count() const { return cards_.size(); }
    bool isLastCard() const { return index_ == cards_.size() - 1; }
    QString positionText() const;
    QString advanceText() const;
    QVariantMap currentCard() const { return cards_.card(index_); }
    ForYouCardList* cards() { return &cards_; }

    // Loads today's cards and starts at the first; also "Try again" and a new session.
    Q_INVOKABLE void load();
    // "Got it, next card" / "Finish session".
    Q_INVOKABLE void gotIt();
    // "Skip this card".
    Q_INVOKABLE void skip();
    Q_INVOKABLE void toggleLike();

Q_SIGNALS:
    void isLoadingChanged();
    void errorMessageChanged();
    void positionChanged();
    void currentCardChanged();

private:
    static async::Task<void> reload(DailyStudyFeedModel* self);
    static async::Task<void> sendEvents(DailyStudyFeedModel* self);
    void leave(const QString& eventType);
    void setLoading(bool loading);
    void setErrorMessage(const QString& message);

    APIClient client_;
    ForYouCardList cards_;
    int index_ = 0;
    bool loaded_ = false;
    bool isLoading_ = false;
    QString errorMessage_;
    QQueue<ForYouEventCreate> events_; // waiting to be sent, oldest first
    bool sendingEvents_ = false;
    async::TaskScope tasks_; // last: tasks end before what they use
};
