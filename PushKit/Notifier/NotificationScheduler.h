#pragma once

#include "Clock.h"
#include "NotificationRequest.h"
#include "PendingStore.h"

#include <QMap>
#include <QObject>
#include <QTimeZone>

// The pending requests and when each fires. Sleeps on the clock until the earliest due time, then
// hands every due request to whoever shows it (`due`) and waits for the outcome: a shown request
// moves on to its next day or, when one-off, is gone; one that no notification server took is
// offered again at the next due time or on retryUndelivered(). However long the agent slept past a
// due time (suspend, a clock set forward, the agent not running), a request fires once.
// Every change is saved at once.
class NotificationScheduler : public QObject {
    Q_OBJECT
public:
    NotificationScheduler(PendingStore store, QTimeZone zone, QObject* parent = nullptr);
    ~NotificationScheduler() override;

    // Reads the saved requests and fires whatever came due meanwhile.
    void start();

    // Adds `request`, replacing one with the same id.
    void add(NotificationRequest request);
    int removeByIds(const QStringList& ids);
    int removeByPrefix(const QString& prefix);
    QList<NotificationRequest> pending() const;
    int count() const { return int(entries_.size()); }

    // Daily requests follow the wall clock of the new zone from now on.
    void setTimeZone(const QTimeZone& zone);
    const QTimeZone& timeZone() const { return zone_; }

    // The outcome of a `due` request, named by the id and serial it was handed out with.
    void delivered(const QString& id, quint64 serial);
    void deliveryFailed(const QString& id, quint64 serial);
    // Offers every request that came due without being shown again (a notification server appeared).
    void retryUndelivered();

Q_SIGNALS:
    void due(const NotificationRequest& request, quint64 serial);
    void countChanged();

private:
    struct Entry {
        NotificationRequest request;
        quint64 serial = 0;
        bool inFlight = false;
    };

    void insert(NotificationRequest request);
    // Fires what is due (and what is still undelivered when `retry`), then sleeps until the next.
    void evaluate(bool retry);
    void arm();
    void save();

    PendingStore store_;
    QTimeZone zone_;
    QMap<QString, Entry> entries_;
    quint64 nextSerial_ = 1;
    async::Clock* timerClock_ = nullptr;
    async::Clock::TimerId timer_ = 0;
};
