#include "Shell/OrbeloApp.h"

#include "APIConfiguration.h"
#include "AppInfo.h"
#include "Appearance.h"
#include "Auth/AuthSession.h"
#include "AuthenticationFailures.h"
#include "Clerk.h"
#include "Common/AppContext.h"
#include "Common/FailureMessage.h"
#include "Focus/AppFocusTimer.h"
#include "Focus/ManagerFocusNotifications.h"
#include "Logging.h"
#include "Media/ReadAloudPlayer.h"
#include "NotificationManager.h"
#include "Notifications/NotificationsBadge.h"
#include "Notifications/PushRegistration.h"
#include "PreferencesStore.h"
#include "Settings/AppearanceModel.h"
#include "Shell/ContentViewModel.h"
#include "SystemNetworkStatus.h"
#include "User/TimezoneSync.h"

#include <QGuiApplication>

namespace {

async::Task<void> reportTimezone(APIClient client, QString userId) {
    co_await TimezoneSync::syncIfNeeded(client, userId, PreferencesStore::standard());
}

} // namespace

OrbeloApp::OrbeloApp(AppContext& context, QObject* parent)
    : QObject(parent), context_(context), appearance_(std::make_unique<Appearance>(nullptr)) {
    // The first frame's theme already reads the look.
    Appearance::exposeToQml(appearance_.get());
    AuthenticationFailures::setHandler([&context] { Q_EMIT context.authenticationFailed(); });
    connect(&NotificationManager::shared(), &NotificationManager::studyReminderTapped, &context,
            &AppContext::studyReminderTapped);
}

OrbeloApp::~OrbeloApp() {
    AuthenticationFailures::setHandler({});
    AppFocusTimer::shared().setTimer(nullptr);
}

std::optional<QString> OrbeloApp::publishableKey(const QString& value) {
    if (value.isEmpty() || value.startsWith(QLatin1String("__SET_ME__")))
        return std::nullopt;
    return value;
}

QStringList OrbeloApp::launchLogLines(const QString& baseURL, const QString& publishableKey) {
    return {QStringLiteral("API_BASE_URL=%1").arg(baseURL.isEmpty() ? QStringLiteral("(not set)") : baseURL),
            QStringLiteral("CLERK_PUBLISHABLE_KEY prefix=%1 (pk_live_ for a production auth service)")
                .arg(publishableKey.left(20))};
}

std::optional<QString> OrbeloApp::signedInUserId(const std::optional<Client>& client) {
    if (!ContentViewModel::isSignedIn(client))
        return std::nullopt;
    const std::optional<Session> session = client->activeSession();
    if (session && session->user)
        return session->user->id;
    if (session && session->publicUserData && session->publicUserData->userId)
        return *session->publicUserData->userId;
    return std::nullopt;
}

void OrbeloApp::forwardApplicationState(Qt::ApplicationState state, Clerk& clerk) {
    if (state == Qt::ApplicationActive)
        clerk.applicationDidBecomeActive();
    else
        clerk.applicationDidEnterBackground();
}

void OrbeloApp::launch(const QString& trustedCertificatePem) {
    // 1. Application-wide objects.
    const QUrl baseURL(AppInfo::apiBaseUrl());
    networkMonitor_ = std::make_unique<NetworkMonitor>(std::make_unique<SystemNetworkStatus>(baseURL.host()));
    NotificationsBadge& badge = NotificationsBadge::shared();
    // Here rather than at construction: finding a speech engine would hold up the first frame.
    readAloud_ =
        std::make_unique<ReadAloudPlayer>(PreferencesStore::standard(), ReadAloudPlayer::preferredEngines());
    ReadAloudPlayer::exposeToQml(readAloud_.get());

    // 2. The publishable key, once per process; without it the build is broken, not the run.
    const std::optional<QString> key = publishableKey(AppInfo::publishableKey());
    if (!key)
        qFatal("%s", missingKeyMessage);

    // 3. The auth client.
    Clerk& clerk = AuthSession::configure(*key);

    // 4. What this run talks to.
    for (const QString& line : launchLogLines(AppInfo::apiBaseUrl(), *key))
        qCInfo(lcAuth).noquote() << line;

    // The time zone report, for each user who signs in.
    timezoneReport_ = std::make_unique<UserKeyedTask>(
        [&clerk] { return signedInUserId(clerk.client()); },
        [this](QString userId) { return reportTimezone(context_.makeAPIClient(), userId); });
    connect(&clerk, &Clerk::clientChanged, timezoneReport_.get(), &UserKeyedTask::update);

    // The stored look, and whether each user who signs in owns the Night Owl theme it may name.
    AppearanceModel::restore(*appearance_, PreferencesStore::standard());
    themeOwnership_ = std::make_unique<UserKeyedTask>(
        [&clerk] { return signedInUserId(clerk.client()); },
        [this](QString userId) {
            return AppearanceModel::refreshOwnership(context_.makeAPIClient(), userId, appearance_.get());
        });
    connect(&clerk, &Clerk::clientChanged, themeOwnership_.get(), [this, &clerk] {
        if (!signedInUserId(clerk.client()))
            appearance_->setNightOwlOwned(false);
        themeOwnership_->update();
    });

    // 5, 7 and 8: remote notifications. Each sign-in registers this device's push token and opens
    // the agent's push stream; a pushed notification refreshes the unread count.
    NotificationManager& notifications = NotificationManager::shared();
    const QUrl api = APIConfiguration::baseURL();
    pushRegistration_ = std::make_unique<PushRegistration>(
        notifications, [this] { return context_.makeAPIClient(); },
        api.adjusted(QUrl::RemovePath | QUrl::RemoveQuery).toString(), trustedCertificatePem);
    connect(&clerk, &Clerk::clientChanged, pushRegistration_.get(),
            [this, &clerk] { pushRegistration_->update(signedInUserId(clerk.client())); });
    connect(&notifications, &NotificationManager::remoteNotificationReceived, this,
            [&badge] { badge.refresh(true); });

    // The focus timer runs whatever section is shown, for the signed-in user once the auth client
    // knows who that is; its alerts go through the notifier agent.
    focusNotifications_ = std::make_unique<ManagerFocusNotifications>(notifications);
    focusTimer_ = std::make_unique<PomodoroTimer>(
        context_.makeAPIClient(), PreferencesStore::standard(), *focusNotifications_,
        QTimeZone::systemTimeZone(), PomodoroConfig::withFocusMinutes(qgetenv("ORBELO_FOCUS_MINUTES")));
    const auto followUser = [this, &clerk] {
        if (clerk.isLoaded())
            focusTimer_->setUserId(signedInUserId(clerk.client()).value_or(QString()));
    };
    connect(&clerk, &Clerk::clientChanged, focusTimer_.get(), followUser);
    connect(&clerk, &Clerk::loadedChanged, focusTimer_.get(), followUser);
    followUser();
    AppFocusTimer::shared().setTimer(focusTimer_.get());

    if (auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        connect(application, &QGuiApplication::applicationStateChanged, &clerk,
                [&clerk, &badge](Qt::ApplicationState state) {
                    forwardApplicationState(state, clerk);
                    // The unread count, when someone is signed in to have one.
                    if (state == Qt::ApplicationActive && signedInUserId(clerk.client()))
                        badge.refresh(false);
                });

    // The stored client and session, then the fresh ones; the window shows "Loading…" meanwhile.
    tasks_.spawn(clerk.load(), async::TaskScope::ErrorHandler([](std::exception_ptr error) {
                     qCWarning(lcAuth).noquote()
                         << "auth client load failed —" << FailureMessage::describe(error);
                 }));
}
