#include "Shell/SignOutConfirmation.h"

#include "Shell/UnsavedWorkRegistry.h"

#include <QJSEngine>

SignOutConfirmation::SignOutConfirmation(UnsavedWorkRegistry& registry, QObject* parent)
    : QObject(parent), registry_(registry) {
    // The question follows the work while it is up: an upload that ends is no longer named.
    connect(&registry_, &UnsavedWorkRegistry::changed, this, [this] {
        const QStringList work = registry_.descriptions();
        if (!isAsking() || work.isEmpty() || message(work) == message_)
            return;
        message_ = message(work);
        Q_EMIT questionChanged();
    });
}

SignOutConfirmation& SignOutConfirmation::shared() {
    static SignOutConfirmation confirmation(UnsavedWorkRegistry::shared());
    return confirmation;
}

SignOutConfirmation* SignOutConfirmation::create(QQmlEngine*, QJSEngine*) {
    SignOutConfirmation* instance = &shared();
    QJSEngine::setObjectOwnership(instance, QJSEngine::CppOwnership);
    return instance;
}

QString SignOutConfirmation::message(const QStringList& work) {
    QString list = work.value(0);
    for (qsizetype i = 1; i < work.size(); ++i)
        list += (i + 1 == work.size() ? QStringLiteral(" and ") : QStringLiteral(", ")) + work.at(i);
    return QStringLiteral("Signing out discards %1. Cancel to stay signed in and finish first.").arg(list);
}

void SignOutConfirmation::ask(QObject* context, std::function<void()> proceed) {
    const QStringList work = registry_.descriptions();
    if (work.isEmpty()) {
        proceed();
        return;
    }
    context_ = context;
    proceed_ = std::move(proceed);
    message_ = message(work);
    Q_EMIT questionChanged();
}

void SignOutConfirmation::confirm() {
    if (!proceed_)
        return;
    const std::function<void()> proceed = std::exchange(proceed_, {});
    const bool contextAlive = !context_.isNull();
    context_.clear();
    Q_EMIT questionChanged();
    if (contextAlive)
        proceed();
}

void SignOutConfirmation::cancel() {
    if (!proceed_)
        return;
    proceed_ = {};
    context_.clear();
    Q_EMIT questionChanged();
}
