#pragma once

#include <QJsonObject>
#include <QString>
#include <optional>

// One sign-in as the attempts table keeps it, decoded once from its stored JSON state. Empty
// strings and objects stand for the nulls of the wire object.
struct SignInAttempt {
    enum class Status { NeedsIdentifier, NeedsFirstFactor, NeedsSecondFactor, NeedsNewPassword, Complete };

    QString id;
    QString clientId;
    Status status = Status::NeedsIdentifier;
    QString identifier;
    QString userId;
    QJsonObject firstFactorVerification;
    QJsonObject secondFactorVerification;
    QString createdSessionId;
    qint64 abandonAtMs = 0;
    QJsonObject secrets;     // the codes sent, by strategy
    qint64 codeSentAtMs = 0; // 0: no email code sent yet
    QJsonObject oauth;       // provider, redirect_url, and the consent's email and nonce

    // Nothing when the state is not a sign-in this server wrote.
    static std::optional<SignInAttempt> decode(const QString& id, const QString& clientId,
                                               const QJsonObject& state);
    QJsonObject encode() const;

    static QString statusName(Status status);

    bool operator==(const SignInAttempt&) const = default;
};
