#pragma once

#include "Shell/RootDeepLinkHandler.h"
#include "Shell/RootTab.h"

#include <QObject>
#include <QPointer>
#include <QVariantList>

class AppContext;
#include <QtQml/qqmlregistration.h>

// The shell's navigation state: the selected section, the sidebar's two groups, selection by number
// through the context's sectionRequested, the Quiz tab for a clicked reminder's "quiz" or "quiz-auto-start"
// link (pending when the shell appears or arriving while it shows), and the tab changes asked for
// from outside (RootDeepLinkHandler).
class RootShellModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(int selectedTab READ selectedTabIndex WRITE selectTab NOTIFY selectedTabChanged)
    Q_PROPERTY(QString selectedLabel READ selectedLabel NOTIFY selectedTabChanged)
    Q_PROPERTY(QString selectedSymbol READ selectedSymbol NOTIFY selectedTabChanged)
    Q_PROPERTY(QVariantList sidebarSections READ sidebarSections CONSTANT)
    // The onboarding decision (an OnboardingGate), whose Library request the shell follows.
    Q_PROPERTY(QObject* onboarding READ onboarding WRITE setOnboarding NOTIFY onboardingChanged)
    Q_PROPERTY(AppContext* context READ context WRITE setContext NOTIFY contextChanged)
    Q_MOC_INCLUDE("Common/AppContext.h")
public:
    explicit RootShellModel(QObject* parent = nullptr);

    RootTab selectedTab() const { return selectedTab_; }
    void setSelectedTab(RootTab tab);
    int selectedTabIndex() const { return int(selectedTab_); }
    // Ignores indexes outside the enumeration.
    void selectTab(int index);
    QString selectedLabel() const { return RootTabs::label(selectedTab_); }
    QString selectedSymbol() const { return RootTabs::symbol(selectedTab_); }
    // Two lists of {tab, label, symbol}: the study tools, then rewards, notifications and settings.
    QVariantList sidebarSections() const;
    QObject* onboarding() const { return onboarding_; }
    void setOnboarding(QObject* gate);
    AppContext* context() const { return context_; }
    void setContext(AppContext* context);

Q_SIGNALS:
    void contextChanged();
    void selectedTabChanged();
    void onboardingChanged();

private:
    RootTab selectedTab_ = RootTab::study;
    QPointer<QObject> onboarding_;
    QPointer<AppContext> context_;
    RootDeepLinkHandler deepLinks_;
};
