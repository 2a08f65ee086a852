#include "NotificationScheduler.h"

#include "NotifierLogging.h"

NotificationScheduler::NotificationScheduler(PendingStore store, QTimeZone zone, QObject* parent)
    : QObject(parent), store_(std::move(store)), zone_(std::move(zone)) {}

NotificationScheduler::~NotificationScheduler() {
    if (timer_)
        timerClock_->cancel(timer_);
}

void NotificationScheduler::start() {
    const QDateTime now = async::Clock::current().now();
    for (NotificationRequest& request : store_.load()) {
        // The zone may have changed while the agent was not running.
        if (request.daily && request.due > now)
            request.due = request.daily->nextFireTime(now, zone_);
        insert(std::move(request));
    }
    qCInfo(lcNotifier, "%d pending notification(s)", count());
    evaluate(true);
}

void NotificationScheduler::add(NotificationRequest request) {
    const QDateTime now = async::Clock::current().now();
    request.due = request.daily ? request.daily->nextFireTime(now, zone_) : request.fireTime;
    request.undelivered = false;
    insert(std::move(request));
    save();
    evaluate(false);
    Q_EMIT countChanged();
}

void NotificationScheduler::insert(NotificationRequest request) {
    const QString id = request.id;
    entries_.insert(id, Entry{std::move(request), nextSerial_++, false});
}

int NotificationScheduler::removeByIds(const QStringList& ids) {
    int removed = 0;
    for (const QString& id : ids)
        removed += int(entries_.remove(id));
    if (removed) {
        save();
        arm();
        Q_EMIT countChanged();
    }
    return removed;
}

int NotificationScheduler::removeByPrefix(const QString& prefix) {
    QStringList ids;
    for (auto it = entries_.cbegin(); it != entries_.cend(); ++it)
        if (it.key().startsWith(prefix))
            ids.append(it.key());
    return removeByIds(ids);
}

QList<NotificationRequest> NotificationScheduler::pending() const {
    QList<NotificationRequest> requests;
    for (const Entry& entry : entries_)
        requests.append(entry.request);
    return requests;
}

void NotificationScheduler::setTimeZone(const QTimeZone& zone) {
    if (zone == zone_)
        return;
    qCInfo(lcNotifier, "time zone is now %s", zone.id().constData());
    zone_ = zone;
    const QDateTime now = async::Clock::current().now();
    for (Entry& entry : entries_)
        if (entry.request.daily && entry.request.due > now)
            entry.request.due = entry.request.daily->nextFireTime(now, zone_);
    save();
    evaluate(false);
}

void NotificationScheduler::delivered(const QString& id, quint64 serial) {
    auto it = entries_.find(id);
    if (it == entries_.end() || it->serial != serial)
        return; // replaced or removed meanwhile
    it->inFlight = false;
    it->request.undelivered = false;
    if (!it->request.daily) {
        entries_.erase(it);
        arm();
        Q_EMIT countChanged();
    }
    save();
}

void NotificationScheduler::deliveryFailed(const QString& id, quint64 serial) {
    auto it = entries_.find(id);
    if (it != entries_.end() && it->serial == serial)
        it->inFlight = false;
}

void NotificationScheduler::retryUndelivered() {
    evaluate(true);
}

void NotificationScheduler::evaluate(bool retry) {
    const QDateTime now = async::Clock::current().now();
    QList<std::pair<NotificationRequest, quint64>> fired;
    for (Entry& entry : entries_) {
        NotificationRequest& request = entry.request;
        // A one-off request that no server took waits for a retry rather than firing on every look.
        const bool isDue = request.due <= now && !(request.undelivered && !request.daily);
        if (entry.inFlight || !(isDue || (retry && request.undelivered)))
            continue;
        entry.inFlight = true;
        request.undelivered = true;
        // A day's reminder moves on to the next day from now, however many days were missed.
        if (request.daily && request.due <= now)
            request.due = request.daily->nextFireTime(now, zone_);
        fired.append({request, entry.serial});
    }
    if (!fired.isEmpty())
        save();
    arm();
    // Handlers may report the outcome at once, which changes the entries.
    for (const auto& [request, serial] : fired)
        Q_EMIT due(request, serial);
}

void NotificationScheduler::arm() {
    if (timer_) {
        timerClock_->cancel(timer_);
        timer_ = 0;
    }
    async::Clock& clock = async::Clock::current();
    const QDateTime now = clock.now();
    QDateTime next;
    for (const Entry& entry : entries_)
        if (entry.request.due > now && (!next.isValid() || entry.request.due < next))
            next = entry.request.due;
    if (!next.isValid())
        return;
    timerClock_ = &clock;
    timer_ = clock.schedule(async::Clock::Duration(now.msecsTo(next)), [this] {
        timer_ = 0;
        evaluate(true);
    });
}

void NotificationScheduler::save() {
    store_.save(pending());
}
