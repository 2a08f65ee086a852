#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>
#include <QPointer>

#include "APIClient.h"
#include "Gamification/GamificationSummaryResponse.h"
#include "TaskScope.h"

#include <QtQml/qqmlregistration.h>

class AppContext;

// The line at the top of the Study tab: the user's level, XP towards the next level, streak and
// credits. It shows only once the backend has answered; a failed load keeps it quiet (or keeps
// the last good figures), since the rest of the tab does not depend on it. A purchase anywhere in
// the app loads it again.
class ProgressHeaderModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool isLoading READ isLoading NOTIFY isLoadingChanged)
    Q_PROPERTY(bool hasProgress READ hasProgress NOTIFY progressChanged)
    Q_PROPERTY(QString levelText READ levelText NOTIFY progressChanged)
    // "120 of 300 XP"
    Q_PROPERTY(QString xpText READ xpText NOTIFY progressChanged)
    // How far through the level, 0 to 1.
    Q_PROPERTY(double levelProgress READ levelProgress NOTIFY progressChanged)
    Q_PROPERTY(QString streakText READ streakText NOTIFY progressChanged)
    Q_PROPERTY(QString creditsText READ creditsText NOTIFY progressChanged)
    // "Scholar" while the user owns the Scholar Badge, else empty.
    Q_PROPERTY(QString badgeText READ badgeText NOTIFY progressChanged)
    // "Level 3, 120 of 300 XP to next level, 5 day streak, 40 credits", then ", Scholar Badge"
    Q_PROPERTY(QString accessibleLabel READ accessibleLabel NOTIFY progressChanged)
    Q_PROPERTY(AppContext* context READ context WRITE setContext NOTIFY contextChanged)
    Q_MOC_INCLUDE("Common/AppContext.h")
public:
    explicit ProgressHeaderModel(QObject* parent = nullptr);
    explicit ProgressHeaderModel(APIClient client, QObject* parent = nullptr);

    bool isLoading() const { return isLoading_; }
    bool hasProgress() const { return summary_.has_value(); }
    QString levelText() const;
    QString xpText() const;
    double levelProgress() const;
    QString streakText() const;
    QString creditsText() const;
    QString badgeText() const;
    QString accessibleLabel() const;

    // Loads the figures; a load already running is not started twice.
    Q_INVOKABLE void load();
    AppContext* context() const { return context_; }
    void setContext(AppContext* context);

Q_SIGNALS:
    void contextChanged();
    void progressChanged();
    void isLoadingChanged();

private:
    static async::Task<void> reload(ProgressHeaderModel* self);
    void setLoading(bool loading);

    APIClient client_;
    std::optional<GamificationSummaryResponse> summary_;
    bool isLoading_ = false;
    QPointer<AppContext> context_;
    async::TaskScope tasks_; // last: tasks end before what they use
};
