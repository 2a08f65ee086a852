#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>

// Where the focus timer sends its one pending "the interval has ended" notification: the app's
// notification manager (ManagerFocusNotifications), or a fake in tests.
class FocusNotificationScheduler : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Replaces the pending "pomodoro-" request, if any, with one that fires at `fireDate`.
    virtual void schedule(const QString& title, const QString& body, const QDateTime& fireDate) = 0;
    // Removes every pending "pomodoro-" request.
    virtual void cancelAll() = 0;
    // The user has turned the app's notifications off; scheduling still goes through.
    virtual bool notificationsDenied() const = 0;

Q_SIGNALS:
    void notificationsDeniedChanged();
};
