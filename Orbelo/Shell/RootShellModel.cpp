#include "Shell/RootShellModel.h"

#include "Common/AppContext.h"
#include "Quiz/QuizLaunchRequests.h"
#include "Shell/OnboardingGate.h"

RootShellModel::RootShellModel(QObject* parent)
    : QObject(parent), deepLinks_([this](RootTab tab) { setSelectedTab(tab); }) {
    if (QuizLaunchRequests::opensQuiz(QuizLaunchRequests::pendingDeepLink()))
        selectedTab_ = RootTab::quiz;
}

void RootShellModel::setContext(AppContext* context) {
    if (!AppContext::switchTo(context_, context, this))
        return;
    deepLinks_.setContext(context);
    if (context) {
        connect(context, &AppContext::sectionRequested, this, [this](int number) {
            if (const std::optional<RootTab> tab = RootTabs::forSectionNumber(number))
                setSelectedTab(*tab);
        });
        // A clicked reminder opens the Quiz tab; the link itself stays for the quiz screen to take.
        connect(context, &AppContext::studyReminderTapped, this, [this](const QVariant& link) {
            if (QuizLaunchRequests::opensQuiz(link))
                setSelectedTab(RootTab::quiz);
        });
    }
    Q_EMIT contextChanged();
}

void RootShellModel::setSelectedTab(RootTab tab) {
    if (tab == selectedTab_)
        return;
    selectedTab_ = tab;
    Q_EMIT selectedTabChanged();
}

void RootShellModel::setOnboarding(QObject* gate) {
    if (gate == onboarding_)
        return;
    onboarding_ = gate;
    deepLinks_.setOnboarding(qobject_cast<OnboardingGate*>(gate));
    Q_EMIT onboardingChanged();
}

void RootShellModel::selectTab(int index) {
    if (index < 0 || index > int(RootTab::settings))
        return;
    setSelectedTab(RootTab(index));
}

QVariantList RootShellModel::sidebarSections() const {
    QVariantList sections{QVariantList{}, QVariantList{}};
    for (RootTab tab : RootTabs::all()) {
        QVariantList group = sections[RootTabs::sidebarSection(tab)].toList();
        group.append(QVariantMap{{QStringLiteral("tab"), int(tab)},
                                 {QStringLiteral("label"), RootTabs::label(tab)},
                                 {QStringLiteral("symbol"), RootTabs::symbol(tab)}});
        sections[RootTabs::sidebarSection(tab)] = group;
    }
    return sections;
}
