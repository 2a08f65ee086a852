#include "Updates/DesktopUpdateChecker.h"

#include "AppInfo.h"
#include "Clock.h"
#include "HttpTransfer.h"
#include "Json.h"
#include "Logging.h"
#include "URLError.h"

namespace {
const QString cachedManifestKey = QStringLiteral("mac.update.cachedManifest");
const QString lastFetchKey = QStringLiteral("mac.update.lastFetch");
const QString dismissedBuildKey = QStringLiteral("mac.update.dismissedBuild");
} // namespace

DesktopUpdateChecker::DesktopUpdateChecker(QUrl manifestURL, PreferencesStore& defaults, QObject* parent)
    : QObject(parent), manifestURL_(std::move(manifestURL)), defaults_(defaults) {
    if (const auto cached = defaults_.data(cachedManifestKey)) {
        try {
            evaluate(json::decode<Appcast>(*cached));
        } catch (const json::DecodingError&) {
            // A cache that no longer decodes is replaced by the next good fetch.
        }
    }
}

QString DesktopUpdateChecker::availableVersion() const {
    if (!availableUpdate_)
        return {};
    return availableUpdate_->shortVersion.value_or(QString::number(availableUpdate_->latestBuild));
}

int DesktopUpdateChecker::currentBuild() {
    bool ok = false;
    const int build = AppInfo::buildNumber().toInt(&ok);
    return ok ? build : 0;
}

async::Task<void> DesktopUpdateChecker::check() {
    HttpRequest request;
    request.url = manifestURL_;
    request.timeout = fetchTimeout;
    request.resourceTimeout = fetchTimeout;
    try {
        const HttpResponse response = co_await HttpTransfer::send(request);
        if (response.status != 200)
            co_return;
        const Appcast manifest = json::decode<Appcast>(response.body);
        defaults_.setValue(cachedManifestKey, response.body);
        defaults_.setValue(lastFetchKey, async::Clock::current().now());
        evaluate(manifest);
    } catch (const URLError& e) {
        qCWarning(lcUpdates, "update check failed: %s", qUtf8Printable(e.localizedDescription()));
    } catch (const json::DecodingError& e) {
        qCWarning(lcUpdates, "update check failed: %s", qUtf8Printable(e.localizedDescription()));
    }
}

void DesktopUpdateChecker::checkIfDue() {
    const QDateTime last = defaults_.value(lastFetchKey).toDateTime();
    const QDateTime now = async::Clock::current().now();
    // A check already under way answers for this one too.
    if ((last.isValid() && last.secsTo(now) < minFetchInterval.count()) || tasks_.runningCount() > 0)
        return;
    tasks_.spawn(check());
}

void DesktopUpdateChecker::dismiss() {
    if (!availableUpdate_)
        return;
    defaults_.setValue(dismissedBuildKey, availableUpdate_->latestBuild);
    setAvailableUpdate(std::nullopt);
}

void DesktopUpdateChecker::evaluate(const Appcast& manifest) {
    const qint64 dismissed = defaults_.integer(dismissedBuildKey).value_or(0);
    if (currentBuild() < manifest.latestBuild && dismissed < manifest.latestBuild)
        setAvailableUpdate(manifest);
    else
        setAvailableUpdate(std::nullopt);
}

void DesktopUpdateChecker::setAvailableUpdate(std::optional<Appcast> update) {
    if (update == availableUpdate_)
        return;
    availableUpdate_ = std::move(update);
    Q_EMIT availableUpdateChanged();
}
