#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "APIClient.h"
#include "ForYou/ForYouCardList.h"
#include "TaskScope.h"

#include <QtQml/qqmlregistration.h>

// The For You tab: twenty cards picked for the user, loaded when the tab opens and on refresh.
class ForYouFeedModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool isLoading READ isLoading NOTIFY isLoadingChanged)
    Q_PROPERTY(QString errorMessage READ errorMessage NOTIFY errorMessageChanged)
    // Loaded without error, and the backend had no cards for the user.
    Q_PROPERTY(bool isEmpty READ isEmpty NOTIFY cardsChanged)
    Q_PROPERTY(int count READ count NOTIFY cardsChanged)
    Q_PROPERTY(ForYouCardList* cards READ cards CONSTANT)
public:
    explicit ForYouFeedModel(QObject* parent = nullptr);
    explicit ForYouFeedModel(APIClient client, QObject* parent = nullptr);

    bool isLoading() const { return isLoading_; }
    QString errorMessage() const { return errorMessage_; }
    bool isEmpty() const { return loaded_ && cards_.size() == 0; }
    int count() const { return cards_.size(); }
    ForYouCardList* cards() { return &cards_; }

    // Loads the feed; also "Try again" and View → Refresh. A load already running is not started
    // twice. A failed load shows its error over an empty list.
    Q_INVOKABLE void load();

Q_SIGNALS:
    void isLoadingChanged();
    void errorMessageChanged();
    void cardsChanged();

private:
    static async::Task<void> reload(ForYouFeedModel* self);
    void setLoading(bool loading);
    void setErrorMessage(const QString& message);

    APIClient client_;
    ForYouCardList cards_;
    bool loaded_ = false;
    bool isLoading_ = false;
    QString errorMessage_;
    async::TaskScope tasks_; // last: tasks end before what they use
};
