#include "RootDeepLinkHandler.h"

#include "NotificationCenter.h"
#include "NotificationRouting.h"
#include "OnboardingGate.h"

RootDeepLinkHandler::RootDeepLinkHandler(SelectTab selectTab, QObject* parent)
    : QObject(parent), selectTab_(std::move(selectTab)) {
    NotificationCenter::shared().observe(NotificationRouting::didSelectNotification, this,
                                         [this](const QVariant& object) {
                                             if (const std::optional<RootTab> tab = tabFor(object))
                                                 selectTab_(*tab);
                                         });
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

std::optional<RootTab> RootDeepLinkHandler::tabFor(const QVariant& object) {
    if (object.metaType() != QMetaType::fromType<NotificationDestination>())
        return std::nullopt;
    switch (object.value<NotificationDestination>().kind) {
    case NotificationDestination::Kind::library:
        return RootTab::library;
    case NotificationDestination::Kind::study:
        return RootTab::study;
    case NotificationDestination::Kind::quizSetup:
        return RootTab::quiz;
    }
    return std::nullopt;
}
