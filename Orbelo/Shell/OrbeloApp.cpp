#include "OrbeloApp.h"

#include "AuthKit.h"
#include "BundleInfo.h"
#include "Clerk.h"
#include "Logging.h"
#include "SystemNetworkPathMonitor.h"

OrbeloApp::OrbeloApp(QObject* parent) : QObject(parent) {}

OrbeloApp::~OrbeloApp() = default;

std::optional<QString> OrbeloApp::publishableKey(const QVariant& value) {
    if (!value.isValid() || value.typeId() != QMetaType::QString)
        return std::nullopt;
    const QString key = value.toString();
    if (key.isEmpty() || key.startsWith(QLatin1String("__SET_ME__")))
        return std::nullopt;
    return key;
}

QStringList OrbeloApp::launchLogLines(const QVariant& baseURL, const QString& publishableKey) {
    const QString url = baseURL.isValid() && baseURL.typeId() == QMetaType::QString ? baseURL.toString()
                                                                                    : QStringLiteral("(nil)");
    return {QStringLiteral("API_BASE_URL=%1").arg(url),
            QStringLiteral("CLERK_PUBLISHABLE_KEY prefix=%1 (expect pk_live for Release/Debug-Dev)")
                .arg(publishableKey.left(20))};
}

QString OrbeloApp::keychainAccessGroup() {
    // Linux has no team prefix; the Secret Service ignores groups, so this only names the app.
    return QStringLiteral("orbelo.") + BundleInfo::bundleIdentifier();
}

void OrbeloApp::launch() {
    // 1. Application-wide objects.
    networkMonitor_ = std::make_unique<NetworkMonitor>(std::make_unique<SystemNetworkPathMonitor>());

    // 2. The publishable key, once per process; without it the build is broken, not the run.
    const std::optional<QString> key =
        publishableKey(BundleInfo::value(QStringLiteral("CLERK_PUBLISHABLE_KEY")));
    if (!key)
        qFatal("%s", missingKeyMessage);

    // 3. The auth client.
    Clerk& clerk = AuthKit::configure(*key, keychainAccessGroup());

    // 4. What this run talks to.
    for (const QString& line : launchLogLines(BundleInfo::value(QStringLiteral("API_BASE_URL")), *key))
        qCInfo(lcAuth).noquote() << line;

    // The stored client and session, then the fresh ones; the window shows "Loading…" meanwhile.
    tasks_.spawn(clerk.load(), async::TaskScope::ErrorHandler([](std::exception_ptr error) {
                     qCWarning(lcAuth).noquote()
                         << "auth client load failed —" << AuthKit::errorDescription(error);
                 }));
}
