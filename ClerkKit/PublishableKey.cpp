#include "PublishableKey.h"

#include "ClerkInitializationError.h"

#include <QByteArrayView>

namespace {
const QString testPrefix = QStringLiteral("pk_test_");
const QString livePrefix = QStringLiteral("pk_live_");
} // namespace

namespace PublishableKey {

bool isDevelopment(const QString& key) {
    return key.startsWith(testPrefix);
}

QUrl frontendApiUrl(const QString& key) {
    const auto invalid = [&] { return ClerkInitializationError::invalidPublishableKeyFormat(key); };
    QString encoded;
    if (key.startsWith(testPrefix))
        encoded = key.mid(testPrefix.size());
    else if (key.startsWith(livePrefix))
        encoded = key.mid(livePrefix.size());
    else
        throw invalid();

    QByteArray base64 = encoded.toLatin1();
    base64.replace('-', '+').replace('_', '/');
    while (base64.size() % 4 != 0)
        base64.append('=');
    const auto decoded = QByteArray::fromBase64Encoding(base64, QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || !QByteArrayView(*decoded).isValidUtf8())
        throw invalid();
    const QString text = QString::fromUtf8(*decoded);
    if (!text.endsWith(QLatin1Char('$')) || text.size() < 2)
        throw invalid();
    const QUrl url(QStringLiteral("https://") + text.chopped(1), QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty())
        throw invalid();
    return url;
}

} // namespace PublishableKey
