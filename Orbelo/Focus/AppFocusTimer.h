#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "Focus/PomodoroTimer.h"

#include <QPointer>
#include <QtQml/qqmlregistration.h>

class QJSEngine;
class QQmlEngine;

// How screens reach the app's focus timer: the app makes the timer with its other application-wide
// objects and hands it over here; the Study card, the full timer and the window title show it.
// Null until the app has launched.
class AppFocusTimer : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(PomodoroTimer* timer READ timer NOTIFY timerChanged)
public:
    static AppFocusTimer& shared();
    static AppFocusTimer* create(QQmlEngine*, QJSEngine*);

    PomodoroTimer* timer() const { return timer_; }
    // The timer stays its owner's; nullptr takes it back.
    void setTimer(PomodoroTimer* timer);

Q_SIGNALS:
    void timerChanged();

private:
    // Private, so that QML takes the one instance from create() rather than making its own.
    AppFocusTimer() = default;

    QPointer<PomodoroTimer> timer_;
};
