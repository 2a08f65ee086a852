#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>

// Where the focus timer sends its one pending "the interval has ended" notification. The app's
// notification manager provides the real one through setShared(); until then shared() is a
// scheduler that shows nothing.
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

    static FocusNotificationScheduler& shared();
    // Installs the app-wide scheduler; nullptr restores the one that shows nothing. Models take
    // the shared scheduler when they are made, so install it before the first screen loads.
    static void setShared(FocusNotificationScheduler* scheduler);

Q_SIGNALS:
    void notificationsDeniedChanged();
};
