#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>

// Session tokens: compact JWTs signed with HMAC-SHA256 under the server's own secret.
class TokenSigner {
public:
    enum class Failure { None, Malformed, BadSignature, Expired, NotYetValid, WrongIssuer };
    // How far the clocks of the processes of one service may disagree: a token stays valid this
    // long past its exp and is taken this long before its nbf.
    static constexpr int clockSkewSeconds = 5;

    struct Result {
        Failure failure = Failure::Malformed;
        QJsonObject claims;
    };

    TokenSigner(QByteArray secret, QString issuer);

    QString issuer() const { return issuer_; }
    // A token for the session, valid from `nowSeconds` for `lifetimeSeconds`.
    QString issue(const QString& sessionId, const QString& userId, qint64 nowSeconds,
                  int lifetimeSeconds) const;
    QString sign(const QJsonObject& claims) const;
    Result verify(const QString& jwt, qint64 nowSeconds) const;

private:
    QByteArray mac(const QByteArray& signingInput) const;

    QByteArray secret_;
    QString issuer_;
};
