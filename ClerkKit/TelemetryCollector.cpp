#include "TelemetryCollector.h"

#include "Clock.h"
#include "HttpTransfer.h"
#include "Json.h"
#include "PreferencesStore.h"
#include "URLError.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>

namespace {

const QString sdkVersion = QStringLiteral("1.2.1");

async::Task<void> post(QUrl endpoint, QByteArray body, ClerkLogger logger) {
    HttpRequest request;
    request.url = endpoint;
    request.method = "POST";
    request.body = body;
    setHeader(request.headers, "Content-Type", "application/json");
    try {
        const HttpResponse response = co_await HttpTransfer::send(request);
        if (response.status >= 400)
            logger.debug(QStringLiteral("Failed to send telemetry events (status %1)").arg(response.status));
    } catch (const URLError& error) {
        logger.debug(QStringLiteral("Failed to send telemetry events: %1").arg(error.localizedDescription()));
    }
}

} // namespace

TelemetryCollector::TelemetryCollector(bool enabled, QUrl serviceBaseUrl, QString publishableKey,
                                       PreferencesStore& preferences, ClerkLogger logger)
    : enabled_(enabled), endpoint_(serviceBaseUrl.resolved(QUrl(QStringLiteral("v1/event")))),
      publishableKey_(std::move(publishableKey)), preferences_(preferences), logger_(std::move(logger)) {}

bool TelemetryCollector::isThrottled(const QJsonObject& event) {
    const QByteArray identity = QCryptographicHash::hash(QJsonDocument(event).toJson(QJsonDocument::Compact),
                                                         QCryptographicHash::Sha256)
                                    .toHex();
    const qint64 now = async::Clock::current().now().toMSecsSinceEpoch();
    QJsonObject record = json::parse(preferences_.data(throttlerKey).value_or("{}")).toObject();
    for (auto it = record.begin(); it != record.end();) // forget the expired entries
        it = it.value().toDouble() <= now ? record.erase(it) : std::next(it);
    const bool throttled = record.contains(QString::fromLatin1(identity));
    if (!throttled)
        record.insert(QString::fromLatin1(identity),
                      double(now + std::chrono::milliseconds(throttleLifetime).count()));
    preferences_.setValue(throttlerKey, QJsonDocument(record).toJson(QJsonDocument::Compact));
    return throttled;
}

void TelemetryCollector::record(const Event& event) {
    if (!enabled_)
        return;
    const QJsonObject wire{{QStringLiteral("event"), event.event},
                           {QStringLiteral("payload"), event.payload},
                           {QStringLiteral("sdkv"), sdkVersion},
                           {QStringLiteral("sdk"), QStringLiteral("clerk-linux")},
                           {QStringLiteral("pk"), publishableKey_}};
    if (isThrottled(wire)) {
        logger_.verbose(QStringLiteral("Telemetry event %1 throttled").arg(event.event));
        return;
    }
    logger_.verbose(QStringLiteral("Telemetry event %1 accepted").arg(event.event));
    QJsonObject sampled = wire;
    sampled.insert(QStringLiteral("sampling_rate"), samplingRate);
    buffer_.append(sampled);
    if (buffer_.size() >= bufferSize)
        flush();
    else if (!tasks_.isRunning(flushTimer_))
        flushTimer_ = tasks_.spawn(flushLater(this));
}

async::Task<void> TelemetryCollector::flushLater(TelemetryCollector* collector) {
    co_await async::Clock::current().sleep(flushInterval);
    collector->send();
}

void TelemetryCollector::flush() {
    tasks_.cancel(flushTimer_);
    send();
}

void TelemetryCollector::send() {
    if (buffer_.isEmpty())
        return;
    QJsonArray events;
    for (const QJsonObject& event : std::exchange(buffer_, {}))
        events.append(event);
    const QByteArray body =
        QJsonDocument(QJsonObject{{QStringLiteral("events"), events}}).toJson(QJsonDocument::Compact);
    tasks_.spawn(post(endpoint_, body, logger_));
}
