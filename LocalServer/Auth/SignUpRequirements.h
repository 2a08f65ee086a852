#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QStringList>

// The fields a sign-up must carry before it creates the account: the email address and password
// always, plus the ones this server was started to require (--sign-up-requires).
class SignUpRequirements {
public:
    // The fields that --sign-up-requires may name.
    static const QStringList selectable;

    explicit SignUpRequirements(QStringList required) : required_(std::move(required)) {}

    bool isRequired(const QString& field) const { return required_.contains(field); }
    QJsonArray requiredFields() const;
    QJsonArray optionalFields() const;
    // The required fields that the sign-up `state` still lacks, in a fixed order. An empty name
    // does not count, and legal acceptance only when it was given as "true".
    QJsonArray missingFields(const QJsonObject& state) const;

private:
    QStringList required_;
};
