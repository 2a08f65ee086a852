#pragma once

#include "ClerkLogger.h"
#include "TaskScope.h"

#include <QJsonObject>
#include <QList>
#include <QUrl>

#include <chrono>

class PreferencesStore;

// Usage events of development instances, sent in batches to the telemetry service ("v1/event").
// An event identical to one accepted within the throttle lifetime is dropped; the record of
// accepted events lives in the preferences under "clerk_telemetry_throttler". Failures are only
// logged.
class TelemetryCollector {
public:
    struct Event {
        QString event;
        QJsonObject payload;
    };

    static inline const QString throttlerKey = QStringLiteral("clerk_telemetry_throttler");
    static constexpr int bufferSize = 5;
    static constexpr std::chrono::milliseconds flushInterval{30'000};
    static constexpr std::chrono::hours throttleLifetime{24};
    static constexpr double samplingRate = 1.0;

    // Collects nothing unless `enabled` (telemetry on and a development instance).
    TelemetryCollector(bool enabled, QUrl serviceBaseUrl, QString publishableKey,
                       PreferencesStore& preferences, ClerkLogger logger);

    void record(const Event& event);
    // Sends the buffered events now.
    void flush();
    int bufferedCount() const { return int(buffer_.size()); }
    bool isEnabled() const { return enabled_; }

private:
    // Runs in tasks_, which the collector owns.
    static async::Task<void> flushLater(TelemetryCollector* collector);
    void send();
    bool isThrottled(const QJsonObject& event);

    bool enabled_;
    QUrl endpoint_;
    QString publishableKey_;
    PreferencesStore& preferences_;
    ClerkLogger logger_;
    QList<QJsonObject> buffer_;
    async::TaskScope::TaskId flushTimer_ = 0;
    async::TaskScope tasks_; // last
};
