#include "Auth/TokenSigner.h"

#include <QCryptographicHash>
#include <QJsonDocument>
#include <QMessageAuthenticationCode>

namespace {
constexpr auto base64url = QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals;
}

TokenSigner::TokenSigner(QByteArray secret, QString issuer)
    : secret_(std::move(secret)), issuer_(std::move(issuer)) {}

QString TokenSigner::issue(const QString& sessionId, const QString& userId, qint64 nowSeconds,
                           int lifetimeSeconds) const {
    return sign(QJsonObject{{"sid", sessionId},
                            {"sub", userId},
                            {"iat", nowSeconds},
                            {"nbf", nowSeconds},
                            {"exp", nowSeconds + lifetimeSeconds},
                            {"iss", issuer_}});
}

QString TokenSigner::sign(const QJsonObject& claims) const {
    const QByteArray header =
        QJsonDocument(QJsonObject{{"alg", "HS256"}, {"typ", "JWT"}}).toJson(QJsonDocument::Compact);
    const QByteArray input = header.toBase64(base64url) + '.' +
                             QJsonDocument(claims).toJson(QJsonDocument::Compact).toBase64(base64url);
    return QString::fromLatin1(input + '.' + mac(input).toBase64(base64url));
}

TokenSigner::Result TokenSigner::verify(const QString& jwt, qint64 nowSeconds) const {
    Result result;
    const QList<QByteArray> parts = jwt.toLatin1().split('.');
    if (parts.size() != 3)
        return result;
    const auto options = QByteArray::Base64UrlEncoding | QByteArray::AbortOnBase64DecodingErrors;
    const auto header = QByteArray::fromBase64Encoding(parts[0], options);
    const auto payload = QByteArray::fromBase64Encoding(parts[1], options);
    const auto decoded = QByteArray::fromBase64Encoding(parts[2], options);
    if (!header || !payload || !decoded)
        return result;
    const QByteArray& signature = decoded.decoded;
    if (QJsonDocument::fromJson(header.decoded).object().value("alg").toString() != "HS256")
        return result;
    const QByteArray expected = mac(parts[0] + '.' + parts[1]);
    // Constant-time comparison so that timing does not reveal a correct prefix.
    unsigned char difference = expected.size() == signature.size() ? 0 : 1;
    for (qsizetype i = 0; i < qMin(expected.size(), signature.size()); ++i)
        difference |= static_cast<unsigned char>(expected[i] ^ signature[i]);
    if (difference != 0) {
        result.failure = Failure::BadSignature;
        return result;
    }
    result.claims = QJsonDocument::fromJson(payload.decoded).object();
    const auto exp = result.claims.value("exp").toInteger(-1);
    const auto nbf = result.claims.value("nbf").toInteger(0);
    if (result.claims.value("iss").toString() != issuer_)
        result.failure = Failure::WrongIssuer;
    else if (exp < 0 || nowSeconds >= exp + clockSkewSeconds)
        result.failure = Failure::Expired;
    else if (nowSeconds + clockSkewSeconds < nbf)
        result.failure = Failure::NotYetValid;
    else
        result.failure = Failure::None;
    return result;
}

QByteArray TokenSigner::mac(const QByteArray& signingInput) const {
    return QMessageAuthenticationCode::hash(signingInput, secret_, QCryptographicHash::Sha256);
}
