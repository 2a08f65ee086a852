#pragma once

#include "Common/NotificationDestination.h"
#include "Shell/RootTab.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <optional>

class AppContext;
class OnboardingGate;

// Turns requests from outside the shell into tab changes: a routed notification (the context's
// notificationSelected) and onboarding's request for the Library, which is followed once and then
// cleared.
class RootDeepLinkHandler : public QObject {
    Q_OBJECT
public:
    using SelectTab = std::function<void(RootTab)>;

    explicit RootDeepLinkHandler(SelectTab selectTab, QObject* parent = nullptr);

    // Follows the notifications the context routes.
    void setContext(AppContext* context);
    // Follows the gate's Library request now and whenever it is set again.
    void setOnboarding(OnboardingGate* gate);

    // The tab a routed notification selects.
    static RootTab tabFor(const NotificationDestination& destination);

private:
    void followLibraryRequest();

    SelectTab selectTab_;
    QPointer<AppContext> context_;
    QPointer<OnboardingGate> onboarding_;
};
