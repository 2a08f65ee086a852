#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "TaskScope.h"

#include <QtQml/qqmlregistration.h>

// The loading screen: after ten seconds it adds a line saying the wait is longer than usual.
class LoadingViewModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool showSlowHint READ showSlowHint NOTIFY showSlowHintChanged)
    Q_PROPERTY(QString message READ message CONSTANT)
    Q_PROPERTY(QString slowHint READ slowHint CONSTANT)
public:
    static constexpr std::chrono::seconds slowHintDelay{10};

    explicit LoadingViewModel(QObject* parent = nullptr);

    bool showSlowHint() const { return showSlowHint_; }
    QString message() const { return QStringLiteral("Loading…"); }
    QString slowHint() const { return QStringLiteral("This is taking longer than usual — still working…"); }

    // Called when the screen appears.
    Q_INVOKABLE void start();
    // Called when the screen goes away: the wait ends, and the hint counts as shown.
    Q_INVOKABLE void stop();

Q_SIGNALS:
    void showSlowHintChanged();

private:
    static async::Task<void> waitThenHint(LoadingViewModel* self);
    void setShowSlowHint();

    bool showSlowHint_ = false;
    async::TaskScope::TaskId waitTask_ = 0;
    async::TaskScope tasks_; // last: tasks end before what they use
};
