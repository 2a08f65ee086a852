#include "ClerkInitializationError.h"

ClerkInitializationError::ClerkInitializationError(Kind kind, QString message, QString reason)
    : kind_(kind), message_(std::move(message)), reason_(std::move(reason)), what_(message_.toUtf8()) {}

QString ClerkInitializationError::displayedKey(const QString& key) {
    if (key.isEmpty())
        return QStringLiteral("empty");
    return key.size() >= 11 ? key.left(10) + QStringLiteral("...") : key;
}

ClerkInitializationError ClerkInitializationError::missingPublishableKey() {
    return {Kind::missingPublishableKey,
            QStringLiteral("Clerk publishable key is missing. Please call "
                           "Clerk.configure(publishableKey:options:) with a valid publishable key before "
                           "calling load()."),
            QStringLiteral("No publishable key was provided to Clerk.configure().")};
}

ClerkInitializationError ClerkInitializationError::invalidPublishableKeyFormat(const QString& key) {
    const QString shown = displayedKey(key);
    return {
        Kind::invalidPublishableKeyFormat,
        QStringLiteral("Invalid publishable key format: '%1'. Publishable keys must start with 'pk_test_' "
                       "or 'pk_live_'.")
            .arg(shown),
        QStringLiteral("The provided key '%1' does not match the expected format (pk_test_... or "
                       "pk_live_...).")
            .arg(shown)};
}

ClerkInitializationError ClerkInitializationError::alreadyConfigured() {
    const QString message =
        QStringLiteral("Clerk has already been configured. Configure can only be called once.");
    return {Kind::alreadyConfigured, message, message};
}

ClerkInitializationError ClerkInitializationError::wrapping(Kind kind, const QString& underlying) {
    QString message;
    switch (kind) {
    case Kind::apiClientInitializationFailed:
        message = QStringLiteral("Failed to initialize API client: %1");
        break;
    case Kind::environmentLoadingFailed:
        message = QStringLiteral("Failed to load environment configuration: %1");
        break;
    case Kind::clientLoadingFailed:
        message = QStringLiteral("Failed to load client data: %1");
        break;
    default:
        return {Kind::initializationFailed, QStringLiteral("Failed to initialize Clerk: %1").arg(underlying),
                QStringLiteral("An unexpected error occurred during initialization: %1").arg(underlying)};
    }
    return {kind, message.arg(underlying), QStringLiteral("The underlying error was: %1").arg(underlying)};
}
