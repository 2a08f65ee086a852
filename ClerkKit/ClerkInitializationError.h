#pragma once

#include <QString>

#include <exception>

// Why the auth client could not be configured or loaded.
class ClerkInitializationError : public std::exception {
public:
    enum class Kind {
        missingPublishableKey,
        invalidPublishableKeyFormat,
        alreadyConfigured,
        initializationFailed,
        apiClientInitializationFailed,
        environmentLoadingFailed,
        clientLoadingFailed,
    };

    static ClerkInitializationError missingPublishableKey();
    static ClerkInitializationError invalidPublishableKeyFormat(const QString& key);
    static ClerkInitializationError alreadyConfigured();
    // The wrapped kinds carry the underlying error's description.
    static ClerkInitializationError wrapping(Kind kind, const QString& underlying);

    Kind kind() const { return kind_; }
    const QString& message() const { return message_; }
    const QString& failureReason() const { return reason_; }
    const char* what() const noexcept override { return what_.constData(); }

    // How a key appears in messages: its first 10 characters and "..." from 11 characters on,
    // "empty" when empty.
    static QString displayedKey(const QString& key);

private:
    ClerkInitializationError(Kind kind, QString message, QString reason);

    Kind kind_;
    QString message_;
    QString reason_;
    QByteArray what_;
};
