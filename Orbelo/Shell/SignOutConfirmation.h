#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

#include <functional>

class QJSEngine;
class QQmlEngine;
class UnsavedWorkRegistry;

// Asks before a sign-out that would throw work away. With nothing unsaved a sign-out goes ahead at
// once; otherwise it waits for the shell's dialog, which shows `message` and answers with
// confirm() or cancel(). A second request while the question is up replaces the first.
class SignOutConfirmation : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(bool isAsking READ isAsking NOTIFY questionChanged)
    Q_PROPERTY(QString title READ title CONSTANT)
    Q_PROPERTY(QString message READ message NOTIFY questionChanged)
public:
    explicit SignOutConfirmation(UnsavedWorkRegistry& registry, QObject* parent = nullptr);

    // The process's question, over every screen's unsaved work.
    static SignOutConfirmation& shared();
    static SignOutConfirmation* create(QQmlEngine*, QJSEngine*);

    // The dialog's text for the work at stake: "Signing out discards a, b and c." and the way out.
    static QString message(const QStringList& work);

    bool isAsking() const { return bool(proceed_); }
    QString title() const { return QStringLiteral("Sign out and lose your work?"); }
    QString message() const { return message_; }

    // Runs `proceed` now when nothing is unsaved, else once the user confirms; never when the
    // user cancels or `context` is gone by then.
    void ask(QObject* context, std::function<void()> proceed);
    Q_INVOKABLE void confirm();
    Q_INVOKABLE void cancel();

Q_SIGNALS:
    void questionChanged();

private:
    UnsavedWorkRegistry& registry_;
    QPointer<QObject> context_;
    std::function<void()> proceed_;
    QString message_;
};
