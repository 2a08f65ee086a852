#pragma once

#include <QString>

#include <exception>

// A misuse of the auth client by the app, such as asking for a token before configuring it.
class ClerkClientError : public std::exception {
public:
    explicit ClerkClientError(QString message) : message_(std::move(message)), what_(message_.toUtf8()) {}
    const QString& message() const { return message_; }
    const char* what() const noexcept override { return what_.constData(); }

private:
    QString message_;
    QByteArray what_;
};
