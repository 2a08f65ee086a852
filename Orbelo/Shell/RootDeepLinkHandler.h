#pragma once

#include "RootTab.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <optional>

class OnboardingGate;

// Turns requests from outside the shell into tab changes: a routed notification
// ("orbeloDidSelectNotification" with a NotificationDestination) and onboarding's request
// for the Library, which is followed once and then cleared. Other objects are ignored.
class RootDeepLinkHandler : public QObject {
    Q_OBJECT
public:
    using SelectTab = std::function<void(RootTab)>;

    explicit RootDeepLinkHandler(SelectTab selectTab, QObject* parent = nullptr);

    // Follows the gate's Library request now and whenever it is set again.
    void setOnboarding(OnboardingGate* gate);

    // The tab a routed notification's object selects: nothing for anything but a destination.
    static std::optional<RootTab> tabFor(const QVariant& object);

private:
    void followLibraryRequest();

    SelectTab selectTab_;
    QPointer<OnboardingGate> onboarding_;
};
