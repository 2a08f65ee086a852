// moc needs a Qt header before <coroutine>.
#include <QtTest>

#include "APIClient.h"
#include "Common/AppContext.h"
#include "InMemoryPreferences.h"
#include "KeyringWait.h"
#include "NotificationManager.h"
#include "ScriptedClient.h"
#include "ScriptedHttpServer.h"
#include "Shell/AccountToolbarModel.h"
#include "Shell/ContentViewModel.h"
#include "Shell/LoadingViewModel.h"
#include "Shell/MenuCommands.h"
#include "Shell/OnboardingGate.h"
#include "Shell/OrbeloApp.h"
#include "Shell/Refreshable.h"
#include "Shell/RootShellModel.h"
#include "Shell/RootSplashModel.h"
#include "Shell/StartupExit.h"
#include "Shell/UserKeyedTask.h"
#include "User/TimezoneSync.h"
#include "VirtualClock.h"

using namespace std::chrono_literals;

namespace {

Client clientWith(bool activeSession, std::optional<SignIn::Status> signInStatus = std::nullopt) {
    Client client;
    client.id = QStringLiteral("client_1");
    Session session;
    session.id = QStringLiteral("sess_1");
    Session::PublicUserData user;
    user.userId = QStringLiteral("user_1");
    session.publicUserData = user;
    client.sessions = {session};
    if (activeSession)
        client.lastActiveSessionId = QStringLiteral("sess_1");
    if (signInStatus) {
        SignIn signIn;
        signIn.id = QStringLiteral("sia_1");
        signIn.status = signInStatus;
        client.signIn = signIn;
    }
    return client;
}

// The auth state a ContentViewModel sees in these tests. Token lookups and sign-outs take 1 s of
// virtual time so that a recovery can be caught while it runs.
struct FakeAuth {
    static inline bool loaded = false;
    static inline std::optional<Client> client;
    static inline std::optional<QString> token;
    static inline int tokenLookups = 0;
    static inline int signOuts = 0;

    static void reset() {
        loaded = false;
        client.reset();
        token.reset();
        tokenLookups = 0;
        signOuts = 0;
    }
    static async::Task<std::optional<QString>> currentToken() {
        ++tokenLookups;
        co_await async::Clock::current().sleep(1s);
        co_return token;
    }
    static async::Task<void> signOut() {
        ++signOuts;
        co_await async::Clock::current().sleep(1s);
        client.reset();
    }
    static ContentViewModel::AuthSource source() {
        return {[] { return loaded; }, [] { return client; }, &currentToken, &signOut};
    }
};

// Profile answers for the onboarding gate: completed, not completed, absent, or a failure.
struct FakeProfile {
    static inline int requests = 0;
    static inline std::optional<bool> completed;
    static inline bool fails = false;
    static async::Task<UserProfileResponse> fetch() {
        ++requests;
        co_await async::Clock::current().sleep(1s);
        if (fails)
            throw std::runtime_error("offline");
        UserProfileResponse profile;
        profile.hasCompletedOnboarding = completed;
        co_return profile;
    }
};

async::Task<std::optional<QString>> testToken() {
    co_return QStringLiteral("token");
}

async::Task<void> countedSignOut() {
    ++FakeAuth::signOuts;
    co_return;
}

} // namespace

class AppShellTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { FakeAuth::reset(); }

    // Loading until the auth client has loaded; then signed in only with an active session and no
    // unfinished sign-in attempt (a pending second factor counts as signed out).
    void rootStateSelection() {
        using S = ContentViewModel::RootState;
        QCOMPARE(ContentViewModel::stateFor(false, clientWith(true)), S::Loading);
        QCOMPARE(ContentViewModel::stateFor(true, std::nullopt), S::SignedOut);
        QCOMPARE(ContentViewModel::stateFor(true, clientWith(false)), S::SignedOut);
        QCOMPARE(ContentViewModel::stateFor(true, clientWith(true)), S::Shell);
        QCOMPARE(ContentViewModel::stateFor(true, clientWith(true, SignIn::Status::needsSecondFactor)),
                 S::SignedOut);
        QCOMPARE(ContentViewModel::stateFor(true, clientWith(true, SignIn::Status::complete)), S::Shell);

        ContentViewModel model(FakeAuth::source());
        QSignalSpy changes(&model, &ContentViewModel::rootStateChanged);
        QCOMPARE(model.rootState(), S::Loading);
        FakeAuth::loaded = true;
        FakeAuth::client = clientWith(true);
        model.refresh();
        QCOMPARE(model.rootState(), S::Shell);
        QCOMPARE(model.userId(), QStringLiteral("user_1"));
        model.refresh();
        QCOMPARE(changes.count(), 1);
        FakeAuth::client.reset();
        model.refresh();
        QCOMPARE(model.rootState(), S::SignedOut);
        QCOMPARE(model.userId(), QString());
    }

    // However many refusals arrive, one recovery runs; a token keeps the session, none signs out.
    void authenticationRecovery() {
        async::VirtualClock clock;
        async::ScopedClock useClock(clock);
        FakeAuth::loaded = true;
        FakeAuth::client = clientWith(true);
        AppContext context(QUrl(), {});
        ContentViewModel model(FakeAuth::source());
        model.setContext(&context);

        FakeAuth::token = QStringLiteral("jwt");
        Q_EMIT context.authenticationFailed();
        Q_EMIT context.authenticationFailed();
        QTRY_VERIFY(model.isRecoveringAuth());
        QCoreApplication::processEvents();
        QCOMPARE(FakeAuth::tokenLookups, 1);
        clock.advance(1s);
        QVERIFY(!model.isRecoveringAuth());
        QCOMPARE(FakeAuth::signOuts, 0);

        for (const std::optional<QString>& none :
             {std::optional<QString>(), std::optional<QString>(QString())}) {
            FakeAuth::client = clientWith(true);
            FakeAuth::token = none;
            Q_EMIT context.authenticationFailed();
            QTRY_VERIFY(model.isRecoveringAuth());
            clock.advance(1s);
            QVERIFY(model.isRecoveringAuth()); // still signing out
            clock.advance(1s);
            QVERIFY(!model.isRecoveringAuth());
        }
        QCOMPARE(FakeAuth::signOuts, 2);
        QCOMPARE(FakeAuth::tokenLookups, 3);

        // Without a session there is nothing to recover.
        Q_EMIT context.authenticationFailed();
        QCoreApplication::processEvents();
        QCOMPARE(FakeAuth::tokenLookups, 3);
        QVERIFY(!model.isRecoveringAuth());
    }

    // The splash stays 1.3 s from its first frame even when everything is ready at once, and not longer.
    void splashMinimumDisplay() {
        async::VirtualClock clock;
        async::ScopedClock useClock(clock);
        RootSplashModel splash;
        splash.start();
        clock.advance(1299ms);
        QVERIFY(splash.splashVisible());
        clock.advance(1ms);
        QVERIFY(!splash.splashVisible());

        RootSplashModel late;
        clock.advance(1000ms); // the window took a second to show its first frame
        late.start();
        late.start(); // every later frame changes nothing
        QCOMPARE(clock.nextTimerIn(), 1300ms);
        clock.advance(1300ms);
        QVERIFY(!late.splashVisible());
        QCOMPARE(clock.pendingTimers(), 0);
    }

    void slowLoadingHint() {
        async::VirtualClock clock;
        async::ScopedClock useClock(clock);
        LoadingViewModel loading;
        QCOMPARE(loading.message(), QStringLiteral("Loading…"));
        loading.start();
        clock.advance(9999ms);
        QVERIFY(!loading.showSlowHint());
        clock.advance(1ms);
        QVERIFY(loading.showSlowHint());
        QCOMPARE(loading.slowHint(), QStringLiteral("This is taking longer than usual — still working…"));

        LoadingViewModel leaving;
        leaving.start();
        clock.advance(2s);
        leaving.stop();
        QVERIFY(leaving.showSlowHint());
        QCOMPARE(clock.pendingTimers(), 0);
    }

    // A keyring call that has waited three seconds brings the prompt; its answer or the user's
    // choice to go on takes it away, and after that choice no call reaches the keyring.
    void lockedKeyringPrompt() {
        async::VirtualClock clock;
        async::ScopedClock useClock(clock);
        KeyringWait keyring;
        LoadingViewModel loading(keyring);
        QSignalSpy prompts(&loading, &LoadingViewModel::showKeyringPromptChanged);

        keyring.begin();
        keyring.begin(); // a second call waiting behind the first changes nothing
        QCoreApplication::processEvents();
        clock.advance(2999ms);
        QVERIFY(!loading.showKeyringPrompt());
        clock.advance(1ms);
        QVERIFY(loading.showKeyringPrompt());
        QCOMPARE(loading.keyringMessage(),
                 QStringLiteral("Unlock your keyring to continue — Orbelo keeps your sign-in there."));

        keyring.end();
        QCoreApplication::processEvents();
        QVERIFY(loading.showKeyringPrompt());
        keyring.end(); // the keyring answered
        QTRY_VERIFY(!loading.showKeyringPrompt());

        keyring.begin(); // a short wait never shows it
        QCoreApplication::processEvents();
        clock.advance(1s);
        keyring.end();
        QCoreApplication::processEvents();
        clock.advance(5s);
        QVERIFY(!loading.showKeyringPrompt());
        QCOMPARE(prompts.count(), 2);

        QSignalSpy bypassed(&keyring, &KeyringWait::bypassRequested);
        keyring.begin();
        QCoreApplication::processEvents();
        clock.advance(3s);
        QVERIFY(loading.showKeyringPrompt());
        loading.continueWithoutKeyring();
        QVERIFY(!loading.showKeyringPrompt());
        QVERIFY(keyring.isBypassed());
        QCOMPARE(bypassed.count(), 1);
        keyring.end();
    }

    // The quiz links of a clicked reminder select the Quiz tab, whether pending when the shell
    // appears or clicked while it shows; other links and objects change nothing, and the link is
    // left for the quiz screen.
    void quizLinksSelectTheQuizTab() {
        NotificationManager& notifications = NotificationManager::shared();
        notifications.setPendingDeepLink("library");
        QCOMPARE(RootShellModel().selectedTab(), RootTab::study);
        notifications.setPendingDeepLink("quiz-auto-start");
        QCOMPARE(RootShellModel().selectedTab(), RootTab::quiz);
        QCOMPARE(notifications.pendingDeepLink(), QStringLiteral("quiz-auto-start"));
        notifications.takePendingDeepLink();

        AppContext context(QUrl(), {});
        connect(&notifications, &NotificationManager::studyReminderTapped, &context,
                &AppContext::studyReminderTapped);
        RootShellModel shell;
        shell.setContext(&context);
        for (const QVariant& ignored : {QVariant("quizzes"), QVariant(3), QVariant()})
            Q_EMIT context.studyReminderTapped(ignored);
        notifications.openDeepLink("study");
        QCOMPARE(shell.selectedTab(), RootTab::study);
        notifications.openDeepLink("quiz");
        QCOMPARE(shell.selectedTab(), RootTab::quiz);
        shell.setSelectedTab(RootTab::library);
        notifications.openDeepLink("quiz-auto-start");
        QCOMPARE(shell.selectedTab(), RootTab::quiz);
        QCOMPARE(notifications.takePendingDeepLink(), QStringLiteral("quiz-auto-start"));
    }

    // Sections in order with their labels and symbols; selection by number accepts only 1 to 7.
    void sectionsAndSelectionByNumber() {
        AppContext context(QUrl(), {});
        RootShellModel shell;
        shell.setContext(&context);
        const QVariantList sections = shell.sidebarSections();
        QCOMPARE(sections.size(), 2);
        QStringList labels, symbols;
        for (const QVariant& group : sections) {
            for (const QVariant& row : group.toList()) {
                labels << row.toMap().value("label").toString();
                symbols << row.toMap().value("symbol").toString();
            }
            labels << "|";
        }
        QCOMPARE(labels.join(','),
                 QStringLiteral("Study,For You,Cards,Quiz,Library,|,Rewards,Notifications,Settings,|"));
        QCOMPARE(symbols.join(','),
                 QStringLiteral("book.pages,sparkles,rectangle.on.rectangle,checkmark.bubble,"
                                "books.vertical,gift.fill,bell,gearshape"));
        QCOMPARE(shell.selectedTab(), RootTab::study);

        for (int ignored : {0, 8, -1})
            Q_EMIT context.sectionRequested(ignored);
        QCOMPARE(shell.selectedTab(), RootTab::study);

        Q_EMIT context.sectionRequested(6);
        QCOMPARE(shell.selectedTab(), RootTab::rewards);
        QCOMPARE(shell.selectedLabel(), QStringLiteral("Rewards"));

        MenuCommands commands(&countedSignOut);
        commands.setContext(&context);
        commands.selectSection(7);
        QTRY_COMPARE(shell.selectedTab(), RootTab::notifications);
        commands.selectSection(1);
        QTRY_COMPARE(shell.selectedTab(), RootTab::study);
        QCOMPARE(commands.goItems().size(), 7);
        QCOMPARE(commands.goItems().first().toMap().value("label").toString(), QStringLiteral("Study"));
        QCOMPARE(commands.goItems().last().toMap().value("label").toString(),
                 QStringLiteral("Notifications"));
    }

    // Refresh reaches the screen that holds the focus, even when another was shown later; with the
    // focus outside every screen (the sidebar), the screen shown last that is still on screen. A
    // focused screen that cannot refresh now is not passed over for another.
    void refreshReachesTheFocusedOrLastShownScreen() {
        QQuickItem window, sidebar, field;
        sidebar.setParentItem(&window);
        auto* settings = new QQuickItem(&window);
        settings->setParentItem(&window);
        auto* row = new QQuickItem(settings);
        row->setParentItem(settings);
        field.setParentItem(row);
        MenuCommands commands(&countedSignOut);
        commands.setFocusItem(&sidebar);
        QVERIFY(!commands.canRefresh());

        int settingsRequests = 0, libraryRequests = 0;
        Refreshable* settingsRefresh = Refreshable::qmlAttachedProperties(settings);
        connect(settingsRefresh, &Refreshable::requested, this, [&] { ++settingsRequests; });
        QTRY_VERIFY(commands.canRefresh());
        auto* library = new QQuickItem(&window);
        library->setParentItem(&window);
        connect(Refreshable::qmlAttachedProperties(library), &Refreshable::requested, this,
                [&] { ++libraryRequests; });

        commands.setFocusItem(&field);
        commands.refresh();
        commands.setFocusItem(&sidebar);
        commands.refresh();
        QCOMPARE(settingsRequests, 1);
        QCOMPARE(libraryRequests, 1);
        library->setVisible(false);
        commands.refresh();
        QCOMPARE(settingsRequests, 2);

        QSignalSpy changes(&commands, &MenuCommands::canRefreshChanged);
        settingsRefresh->setEnabled(false);
        QTRY_VERIFY(!commands.canRefresh());
        library->setVisible(true);
        commands.setFocusItem(&field);
        QCoreApplication::processEvents();
        QVERIFY(!commands.canRefresh());
        commands.refresh();
        QCOMPARE(libraryRequests, 1);
        delete library;
        delete settings;
        QCoreApplication::processEvents();
        QVERIFY(!commands.canRefresh());
        QCOMPARE(changes.count(), 1);
    }

    void menuCommands() {
        MenuCommands commands(&countedSignOut);
        QVERIFY(!commands.canRefresh());
        commands.refresh();

        AppContext context(QUrl(), {});
        commands.setContext(&context);
        QSignalSpy settings(&context, &AppContext::settingsRequested);
        commands.openSettings();
        QCOMPARE(settings.size(), 1);
        commands.signOut();
        QTRY_COMPARE(FakeAuth::signOuts, 1);
    }

    // The onboarding decision: the preference spares the profile request; the profile's answer is
    // remembered; not completed, absent or failed all show onboarding; decided once per window.
    void onboardingDecision() {
        async::VirtualClock clock;
        async::ScopedClock useClock(clock);
        struct Case {
            bool preference;
            bool prompted;
            std::optional<bool> completed;
            bool fails;
            int requests;
            bool showOnboarding;
            bool showInterests;
        };
        const QList<Case> cases{
            {true, false, std::nullopt, false, 0, false, true},
            {true, true, std::nullopt, false, 0, false, false},
            {false, false, true, false, 1, false, true},
            {false, true, true, false, 1, false, false},
            {false, false, false, false, 1, true, false},
            {false, false, std::nullopt, false, 1, true, false},
            {false, false, true, true, 1, true, false},
        };
        for (const Case& c : cases) {
            InMemoryPreferences preferences;
            if (c.preference)
                preferences.setValue(OnboardingGate::completedKey, true);
            if (c.prompted)
                preferences.setValue(OnboardingGate::interestsPromptedKey, true);
            FakeProfile::requests = 0;
            FakeProfile::completed = c.completed;
            FakeProfile::fails = c.fails;
            OnboardingGate gate(&FakeProfile::fetch, preferences);
            gate.resolve();
            gate.resolve();
            clock.advance(1s);
            QVERIFY(gate.onboardingResolved());
            QCOMPARE(FakeProfile::requests, c.requests);
            QCOMPARE(gate.showOnboarding(), c.showOnboarding);
            QCOMPARE(gate.showInterestsPrompt(), c.showInterests);
            QCOMPARE(preferences.boolValue(OnboardingGate::completedKey), !c.showOnboarding);
            gate.resolve(); // once per window, whoever signs in next
            QCOMPARE(FakeProfile::requests, c.requests);
        }
    }

    void onboardingCompletion() {
        InMemoryPreferences preferences;
        FakeProfile::completed = false;
        FakeProfile::fails = false;
        async::VirtualClock clock;
        async::ScopedClock useClock(clock);
        OnboardingGate gate(&FakeProfile::fetch, preferences);
        gate.resolve();
        clock.advance(1s);
        QVERIFY(gate.showOnboarding());
        gate.complete(true);
        QVERIFY(!gate.showOnboarding());
        QVERIFY(gate.pendingOnboardingLibraryDeepLink());
        QVERIFY(preferences.boolValue(OnboardingGate::completedKey));
        QVERIFY(preferences.boolValue(OnboardingGate::interestsPromptedKey));
        QVERIFY(!gate.showInterestsPrompt());
    }

    // The account menu's title and badge from the user's names and primary address.
    void accountNameAndBadge() {
        using A = AccountToolbarModel;
        const std::optional<QString> none;
        QCOMPARE(A::displayName(" Ada ", "Lovelace ", "ada@example.com"), QStringLiteral("Ada Lovelace"));
        QCOMPARE(A::initials(" ada ", "lovelace", "x@example.com"), QStringLiteral("AL"));
        QCOMPARE(A::displayName("Ada", "  ", "ada@example.com"), QStringLiteral("Ada"));
        QCOMPARE(A::initials("Ada", none, "ada@example.com"), QStringLiteral("A"));
        QCOMPARE(A::displayName(none, "Lovelace", " ada@example.com"), QStringLiteral("ada@example.com"));
        QCOMPARE(A::initials(none, "Lovelace", "ada@example.com"), QStringLiteral("A"));
        QCOMPARE(A::displayName("", "Lovelace", none), QStringLiteral("Signed in"));
        QCOMPARE(A::initials(none, none, none), QString());

        AccountToolbarModel account(&countedSignOut);
        User user;
        user.id = "user_1";
        user.firstName = "Grace";
        user.primaryEmailAddressId = "idn_2";
        User::EmailAddress old, primary;
        old.id = "idn_1";
        old.emailAddress = "old@example.com";
        primary.id = "idn_2";
        primary.emailAddress = "grace@example.com";
        user.emailAddresses = QList<User::EmailAddress>{old, primary};
        account.setUser(user);
        QCOMPARE(account.accessibleLabel(), QStringLiteral("Account: Grace"));
        user.firstName.reset();
        account.setUser(user);
        QCOMPARE(account.displayName(), QStringLiteral("grace@example.com"));
        QCOMPARE(account.initials(), QStringLiteral("G"));

        QCOMPARE(account.notificationsTitle(), QStringLiteral("Notifications"));
        account.setUnreadCount(3);
        QCOMPARE(account.notificationsTitle(), QStringLiteral("Notifications (3)"));
    }

    // The Scholar Badge beside the name: asked for when a user signs in and after a purchase, never
    // kept for the next user, and not shown when the summary cannot be read.
    void accountScholarBadge() {
        ScriptedHttpServer server;
        const QByteArray figures = R"({"total_xp":520,"level":4,"current_level_xp":20,"next_level_xp":400,)"
                                   R"("streak":0,"credits":0,"scholar_badge":)";
        server.enqueue(ScriptedResponse::json(200, figures + "false}"));
        server.enqueue(ScriptedResponse::json(200, figures + "true}"));
        server.enqueue(ScriptedResponse::json(500, "unavailable"));
        AccountToolbarModel account(&countedSignOut, nullptr, scriptedClient(server));
        AppContext context(server.baseUrl(), {});
        account.setContext(&context);
        User ada;
        ada.id = "user_1";
        ada.firstName = "Ada";
        account.setUser(ada);
        QTRY_COMPARE(server.requestCount(), 1);
        QCOMPARE(account.badgeText(), QString());
        Q_EMIT context.rewardsChanged();
        QTRY_COMPARE(account.badgeText(), QStringLiteral("Scholar"));
        QCOMPARE(account.accessibleLabel(), QStringLiteral("Account: Ada, Scholar Badge"));
        account.setUser(ada); // the same user: not asked again
        QCOMPARE(server.requestCount(), 2);
        User grace;
        grace.id = "user_2";
        grace.firstName = "Grace";
        account.setUser(grace);
        QCOMPARE(account.badgeText(), QString());
        QTRY_COMPARE(server.requestCount(), 3);
        QCOMPARE(account.accessibleLabel(), QStringLiteral("Account: Grace"));
    }

    // The sheets open when the context asks for them; "Sign out" is disabled while it runs.
    void accountSheetsAndSignOut() {
        async::VirtualClock clock;
        async::ScopedClock useClock(clock);
        AppContext context(QUrl(), {});
        AccountToolbarModel account(&FakeAuth::signOut);
        account.setContext(&context);
        Q_EMIT context.settingsRequested();
        Q_EMIT context.rewardsRequested();
        QVERIFY(account.showSettings() && account.showRewards());
        QVERIFY(!account.showNotifications());
        Q_EMIT context.notificationsRequested();
        QVERIFY(account.showNotifications());

        account.signOut();
        QVERIFY(account.isSigningOut());
        account.signOut();
        QCOMPARE(FakeAuth::signOuts, 1);
        clock.advance(1s);
        QVERIFY(!account.isSigningOut());
    }

    // The time zone goes out once per user: signing in reports it, the same user again does not,
    // a second user gets a report of their own, and nobody signed in means no request.
    void timezoneReportFollowsTheSignedInUser() {
        async::VirtualClock clock;
        async::ScopedClock useClock(clock);
        ScriptedHttpServer server;
        server.setHandler(
            [](const RecordedRequest&) { return ScriptedResponse::json(200, R"({"status":"ok"})"); });
        InMemoryPreferences defaults;
        std::optional<Client> client;
        UserKeyedTask report([&client] { return OrbeloApp::signedInUserId(client); },
                             [&](QString userId) {
                                 return TimezoneSync::syncIfNeeded(APIClient(server.baseUrl(), &testToken),
                                                                   userId, defaults,
                                                                   QStringLiteral("Europe/Paris"));
                             });
        report.update();
        client = clientWith(true, SignIn::Status::needsSecondFactor); // not signed in yet
        report.update();
        QCOMPARE(server.requestCount(), 0);

        client = clientWith(true);
        report.update();
        QTRY_COMPARE(defaults.string(QStringLiteral("orbelo.syncedTimezone.user_1")),
                     QStringLiteral("Europe/Paris"));
        QCOMPARE(server.requests().first().method, QByteArray("PATCH"));
        QCOMPARE(server.requests().first().path, QByteArray("/api/user/timezone"));
        report.update();
        client.reset();
        report.update();
        client = clientWith(true); // the same user again: already reported
        report.update();
        QTRY_VERIFY(!report.isRunning());
        QCOMPARE(server.requestCount(), 1);

        Session::PublicUserData second;
        second.userId = QStringLiteral("user_2");
        client->sessions.first().publicUserData = second;
        report.update();
        QTRY_COMPARE(defaults.string(QStringLiteral("orbelo.syncedTimezone.user_2")),
                     QStringLiteral("Europe/Paris"));
        QCOMPARE(server.requestCount(), 2);
    }

    // The start-up exit switches: "1" or "true" turns one on, the first frame wins over the sign-in.
    void startupExitSwitches() {
        using M = StartupExit::Milestone;
        QCOMPARE(StartupExit::milestoneFrom({}, {}), M::none);
        QCOMPARE(StartupExit::milestoneFrom("0", "false"), M::none);
        QCOMPARE(StartupExit::milestoneFrom("1", {}), M::firstFrame);
        QCOMPARE(StartupExit::milestoneFrom(" TRUE\n", {}), M::firstFrame);
        QCOMPARE(StartupExit::milestoneFrom({}, "1"), M::signInScreen);
        QCOMPARE(StartupExit::milestoneFrom("1", "1"), M::firstFrame);
    }

    // Quits once, after the first frame's swap; a swap without a synchronized frame is not one.
    void startupExitAfterFirstFrame() {
        int quits = 0;
        StartupExit exit(StartupExit::Milestone::firstFrame, [&] { ++quits; });
        exit.signInShown(); // not what this run waits for
        exit.frameSwapped();
        QCOMPARE(quits, 0);
        QVERIFY(!exit.isEnding());
        exit.frameSynchronized();
        exit.frameSwapped();
        QCOMPARE(quits, 1);
        QVERIFY(exit.isEnding());
        exit.frameSynchronized();
        exit.frameSwapped();
        QCOMPARE(quits, 1);
    }

    // Quits on the swap of the first frame synchronized after the sign-in screen came; a frame
    // taken from the scene before it, even if swapped after, does not show it.
    void startupExitAtSignIn() {
        int quits = 0;
        StartupExit exit(StartupExit::Milestone::signInScreen, [&] { ++quits; });
        exit.frameSynchronized();
        exit.frameSwapped(); // the splash
        exit.frameSynchronized();
        exit.signInShown();
        exit.frameSwapped();
        QCOMPARE(quits, 0);
        exit.frameSynchronized();
        exit.frameSwapped();
        QCOMPARE(quits, 1);

        StartupExit off(StartupExit::Milestone::none, [&] { ++quits; });
        off.signInShown();
        off.frameSynchronized();
        off.frameSwapped();
        QCOMPARE(quits, 1);
    }

    void publishableKeyAndLaunchLog() {
        QCOMPARE(OrbeloApp::publishableKey(QStringLiteral("pk_test_abc")).value(),
                 QStringLiteral("pk_test_abc"));
        QVERIFY(!OrbeloApp::publishableKey(QString()));
        QVERIFY(!OrbeloApp::publishableKey(QStringLiteral("__SET_ME__pk")));

        const QStringList lines = OrbeloApp::launchLogLines(QStringLiteral("https://127.0.0.1:8443"),
                                                            "pk_test_0123456789abcdefXYZ");
        QCOMPARE(lines, (QStringList{"API_BASE_URL=https://127.0.0.1:8443",
                                     "CLERK_PUBLISHABLE_KEY prefix=pk_test_0123456789ab (pk_live_ for a "
                                     "production auth service)"}));
        QCOMPARE(OrbeloApp::launchLogLines(QString(), "pk").first(),
                 QStringLiteral("API_BASE_URL=(not set)"));
    }
};

QTEST_GUILESS_MAIN(AppShellTest)
#include "tst_AppShell.moc"
