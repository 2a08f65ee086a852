#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "KeyringWait.h"
#include "TaskScope.h"

#include <QtQml/qqmlregistration.h>

// The loading screen: after ten seconds it adds a line saying the wait is longer than usual. When
// the keyring has kept a call waiting for a few seconds (locked, asking for its password), it says
// so and offers to go on without remembering the sign-in for this run.
class LoadingViewModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool showSlowHint READ showSlowHint NOTIFY showSlowHintChanged)
    Q_PROPERTY(QString message READ message CONSTANT)
    Q_PROPERTY(QString slowHint READ slowHint CONSTANT)
    Q_PROPERTY(bool showKeyringPrompt READ showKeyringPrompt NOTIFY showKeyringPromptChanged)
    Q_PROPERTY(QString keyringMessage READ keyringMessage CONSTANT)
    Q_PROPERTY(QString continueWithoutKeyringLabel READ continueWithoutKeyringLabel CONSTANT)
public:
    static constexpr std::chrono::seconds slowHintDelay{10};
    static constexpr std::chrono::seconds keyringPromptDelay{3};

    explicit LoadingViewModel(QObject* parent = nullptr);
    explicit LoadingViewModel(KeyringWait& keyring, QObject* parent = nullptr);

    bool showSlowHint() const { return showSlowHint_; }
    QString message() const { return QStringLiteral("Loading…"); }
    QString slowHint() const { return QStringLiteral("This is taking longer than usual — still working…"); }
    bool showKeyringPrompt() const { return showKeyringPrompt_; }
    QString keyringMessage() const {
        return QStringLiteral("Unlock your keyring to continue — Orbelo keeps your sign-in there.");
    }
    QString continueWithoutKeyringLabel() const {
        return QStringLiteral("Continue without remembering sign-in");
    }

    // Called when the screen appears.
    Q_INVOKABLE void start();
    // Called when the screen goes away: the wait ends, and the hint counts as shown.
    Q_INVOKABLE void stop();
    // Lets every keyring call go on without the keyring for the rest of the run.
    Q_INVOKABLE void continueWithoutKeyring();

Q_SIGNALS:
    void showSlowHintChanged();
    void showKeyringPromptChanged();

private:
    static async::Task<void> waitThenHint(LoadingViewModel* self);
    static async::Task<void> waitThenPromptForKeyring(LoadingViewModel* self);
    void setShowSlowHint();
    void followKeyring();
    void setShowKeyringPrompt(bool shown);

    KeyringWait& keyring_;
    bool showSlowHint_ = false;
    bool showKeyringPrompt_ = false;
    async::TaskScope::TaskId waitTask_ = 0;
    async::TaskScope::TaskId keyringTask_ = 0;
    async::TaskScope tasks_; // last: tasks end before what they use
};
