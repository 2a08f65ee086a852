#pragma once

#include "APIClient.h"
#include "Common/NotificationDestination.h"

#include <QObject>
#include <QPointer>
#include <QVariant>
#include <QtQml/qqmlregistration.h>

class QJSEngine;
class QQmlEngine;

// What the app's objects share, made once by main (tests make their own): the backend client
// factory, and the app-wide events as typed signals. Screens reach it as the QML singleton
// `AppContext` and hand it to their models (`context: AppContext`).
class AppContext : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
public:
    // The backend the app talks to, and how each request gets its session token.
    AppContext(QUrl apiBaseURL, APIClient::TokenProvider tokenProvider, QObject* parent = nullptr);

    // A client for the app's backend.
    APIClient makeAPIClient() const;

    // Makes this the `AppContext` singleton of the QML that `engine` loads.
    void provideTo(QQmlEngine& engine);
    static AppContext* create(QQmlEngine* engine, QJSEngine*);

    // Points a model's `current` context at `next`, cutting what `receiver` had connected to the
    // one before; false when it already pointed there. A model's setContext then connects anew.
    static bool switchTo(QPointer<AppContext>& current, AppContext* next, const QObject* receiver);

Q_SIGNALS:
    // A backend request was refused for its token, or no token could be had for it (what the app
    // points AuthenticationFailures at).
    void authenticationFailed();
    // The Go menu's section by number, 1 (Study) to 7 (Notifications).
    void sectionRequested(int number);
    // A study reminder was clicked: its deep link (text), or null when it had none.
    void studyReminderTapped(const QVariant& deepLink);
    // A notification in the inbox or a pushed one was opened.
    void notificationSelected(const NotificationDestination& destination);
    // Credits, owned rewards or the streak changed (a purchase, a study reward).
    void rewardsChanged();
    // The sheets of the account menu, asked for from elsewhere (the menu bar, a screen).
    void settingsRequested();
    void rewardsRequested();
    void notificationsRequested();

private:
    QUrl apiBaseURL_;
    APIClient::TokenProvider tokenProvider_;
};
