#pragma once

#include <QObject>
#include <QString>

// Where a deep link that opened the app waits for the code that routes it: a click on one of
// Orbelo's notifications starts `orbelo --deep-link <link>`, which either starts the app with it or
// hands it to the running instance (SingleInstance). Whoever routes links reads pendingDeepLink
// when it starts and on every change, and take()s the link it handles.
class DeepLinkInbox : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString pendingDeepLink READ pendingDeepLink NOTIFY pendingDeepLinkChanged)
public:
    static DeepLinkInbox& shared();

    QString pendingDeepLink() const { return pending_; }
    // A link arrived; it replaces one not yet taken.
    void deliver(const QString& deepLink);
    // The pending link, which is then no longer pending.
    QString take();

Q_SIGNALS:
    // Also when the same link arrives again: each click is a request to open it.
    void pendingDeepLinkChanged();

private:
    QString pending_;
};
