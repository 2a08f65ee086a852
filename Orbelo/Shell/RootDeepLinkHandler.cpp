#include "Shell/RootDeepLinkHandler.h"

#include "Common/AppContext.h"
#include "Shell/OnboardingGate.h"

RootDeepLinkHandler::RootDeepLinkHandler(SelectTab selectTab, QObject* parent)
    : QObject(parent), selectTab_(std::move(selectTab)) {}

void RootDeepLinkHandler::setContext(AppContext* context) {
    if (!AppContext::switchTo(context_, context, this))
        return;
    if (context)
        connect(context, &AppContext::notificationSelected, this,
                [this](const NotificationDestination& destination) { selectTab_(tabFor(destination)); });
}

void RootDeepLinkHandler::setOnboarding(OnboardingGate* gate) {
    if (gate == onboarding_)
        return;
    if (onboarding_)
        disconnect(onboarding_, nullptr, this, nullptr);
    onboarding_ = gate;
    if (!gate)
        return;
    connect(gate, &OnboardingGate::changed, this, &RootDeepLinkHandler::followLibraryRequest);
    followLibraryRequest();
}

void RootDeepLinkHandler::followLibraryRequest() {
    if (!onboarding_ || !onboarding_->pendingOnboardingLibraryDeepLink())
        return;
    selectTab_(RootTab::library);
    onboarding_->setPendingOnboardingLibraryDeepLink(false);
}

RootTab RootDeepLinkHandler::tabFor(const NotificationDestination& destination) {
    switch (destination.kind) {
    case NotificationDestination::Kind::library:
        return RootTab::library;
    case NotificationDestination::Kind::study:
        return RootTab::study;
    case NotificationDestination::Kind::quizSetup:
        return RootTab::quiz;
    }
    return RootTab::study;
}
