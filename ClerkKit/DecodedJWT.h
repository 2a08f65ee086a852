#pragma once

#include <QDateTime>
#include <QJsonObject>
#include <QStringList>

#include <exception>
#include <optional>

// The claims of a JSON Web Token, read without verifying its signature.
class DecodedJWT {
public:
    // A claim read as the type the caller expects; absent when it has another type.
    class Claim {
    public:
        explicit Claim(QJsonValue value) : value_(std::move(value)) {}
        std::optional<QString> string() const;
        std::optional<double> number() const;
        // A number of seconds since 1970.
        std::optional<QDateTime> date() const;
        std::optional<QStringList> array() const;
        bool exists() const { return !value_.isUndefined() && !value_.isNull(); }

    private:
        QJsonValue value_;
    };

    class DecodeError : public std::exception {
    public:
        explicit DecodeError(QString message) : message_(std::move(message)), what_(message_.toUtf8()) {}
        const QString& message() const { return message_; }
        const char* what() const noexcept override { return what_.constData(); }

    private:
        QString message_;
        QByteArray what_;
    };

    // Throws DecodeError.
    static DecodedJWT decode(const QString& jwt);

    Claim claim(const QString& name) const { return Claim(body_.value(name)); }
    std::optional<QDateTime> expiresAt() const { return claim(QStringLiteral("exp")).date(); }
    const QJsonObject& body() const { return body_; }

private:
    explicit DecodedJWT(QJsonObject body) : body_(std::move(body)) {}
    QJsonObject body_;
};
