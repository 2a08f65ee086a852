#include "FocusNotificationScheduler.h"

#include "Logging.h"

namespace {

// Stands in until the notification manager is installed: the timer runs, nothing is shown.
class NoNotifications final : public FocusNotificationScheduler {
public:
    void schedule(const QString&, const QString&, const QDateTime&) override { noteOnce(); }
    void cancelAll() override {}
    bool notificationsDenied() const override { return false; }

private:
    void noteOnce() {
        if (noted_)
            return;
        noted_ = true;
        qCDebug(lcFocus) << "No notification scheduler installed; focus timer notifications are not shown";
    }
    bool noted_ = false;
};

FocusNotificationScheduler* installed = nullptr;

} // namespace

FocusNotificationScheduler& FocusNotificationScheduler::shared() {
    if (installed)
        return *installed;
    static NoNotifications none;
    return none;
}

void FocusNotificationScheduler::setShared(FocusNotificationScheduler* scheduler) {
    installed = scheduler;
}
