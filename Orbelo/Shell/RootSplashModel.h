#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "TaskScope.h"

#include <QtQml/qqmlregistration.h>

// The splash that covers the window at start: visible for at least `minimumDisplay` from the
// moment it is first on screen, however fast the content below gets ready.
class RootSplashModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool splashVisible READ splashVisible NOTIFY splashVisibleChanged)
    Q_PROPERTY(int minimumDisplay READ minimumDisplay WRITE setMinimumDisplay NOTIFY minimumDisplayChanged)
public:
    explicit RootSplashModel(QObject* parent = nullptr);

    bool splashVisible() const { return splashVisible_; }
    int minimumDisplay() const { return minimumDisplay_; }
    void setMinimumDisplay(int milliseconds);

    // Called when the splash is first on screen: hides it once the minimum display time has passed.
    Q_INVOKABLE void start();

Q_SIGNALS:
    void splashVisibleChanged();
    void minimumDisplayChanged();

private:
    static async::Task<void> hideWhenDue(RootSplashModel* self, std::chrono::milliseconds wait);

    bool splashVisible_ = true;
    int minimumDisplay_ = 1300;
    async::TaskScope::TaskId hideTask_ = 0;
    async::TaskScope tasks_; // last: tasks end before what they use
};
