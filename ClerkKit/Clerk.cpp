#include "Clerk.h"

#include "ClerkAuthEventEmitterResponseMiddleware.h"
#include "ClerkClientError.h"
#include "ClerkClientSyncResponseMiddleware.h"
#include "ClerkDeviceTokenSavingMiddleware.h"
#include "ClerkErrorThrowingResponseMiddleware.h"
#include "ClerkHeaderRequestMiddleware.h"
#include "ClerkInitializationError.h"
#include "ClerkInvalidAuthResponseMiddleware.h"
#include "ClerkProxyRequestMiddleware.h"
#include "ClerkQueryItemsRequestMiddleware.h"
#include "ClerkRequestLoggingMiddleware.h"
#include "ClerkResponseLoggingMiddleware.h"
#include "ClerkURLEncodedFormEncoderMiddleware.h"
#include "ClientResponse.h"
#include "PreferencesStore.h"
#include "PublishableKey.h"
#include "RetryingOperation.h"
#include "SecretServiceStore.h"

namespace {

// Throws cancellation when the auth client went away while a task of its was suspended, and the
// missing-key error when it was never configured.
Clerk& alive(const QPointer<Clerk>& clerk) {
    if (!clerk)
        throw URLError(URLError::Code::cancelled);
    if (!clerk->isConfigured())
        throw ClerkInitializationError::missingPublishableKey();
    return *clerk;
}

bool isCancellation(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const URLError& e) {
        return e.code() == URLError::Code::cancelled;
    } catch (...) {
        return false;
    }
}

} // namespace

Clerk::Clerk(std::shared_ptr<SecretStore> secrets, QObject* parent)
    : QObject(parent), secrets_(std::move(secrets)) {}

Clerk::~Clerk() = default;

Clerk& Clerk::shared() {
    static Clerk* instance = new Clerk; // lives as long as the process
    return *instance;
}

void Clerk::configure(const QString& publishableKey, Options options) {
    configuration_.configure(publishableKey, options);
    const ConfigurationState& state = configuration_.state();
    ++configurationEpoch_;
    logger_ = ClerkLogger(options.logLevel, options.loggerHandler);
    if (!secrets_)
        secrets_ = std::make_shared<SecretServiceStore>(options.secretStoreConfig.service);
    persistence_ = std::make_shared<PersistenceWorker>(secrets_, logger_);
    cacheManager_ = std::make_unique<CacheManager>(persistence_, logger_);

    const QPointer<Clerk> self(this);
    pipeline_ = std::make_shared<ClerkNetworkingPipeline>(logger_);
    pipeline_->addRequestMiddleware(std::make_shared<ClerkProxyRequestMiddleware>(state.proxyConfiguration));
    pipeline_->addRequestMiddleware(std::make_shared<ClerkHeaderRequestMiddleware>(
        persistence_,
        [self]() -> std::optional<QString> {
            if (!self || !self->client_)
                return std::nullopt;
            return self->client_->id;
        },
        DeviceInfo::current()));
    pipeline_->addRequestMiddleware(std::make_shared<ClerkQueryItemsRequestMiddleware>());
    pipeline_->addRequestMiddleware(std::make_shared<ClerkURLEncodedFormEncoderMiddleware>());
    pipeline_->addRequestMiddleware(std::make_shared<ClerkRequestLoggingMiddleware>(logger_));
    for (const auto& extra : options.middleware.requestMiddlewares)
        pipeline_->addRequestMiddleware(extra);
    for (const auto& extra : options.middleware.responseMiddlewares)
        pipeline_->addResponseMiddleware(extra);
    pipeline_->addResponseMiddleware(std::make_shared<ClerkResponseLoggingMiddleware>(logger_));
    pipeline_->addResponseMiddleware(std::make_shared<ClerkDeviceTokenSavingMiddleware>(persistence_));
    pipeline_->addResponseMiddleware(std::make_shared<ClerkClientSyncResponseMiddleware>(self, logger_));
    pipeline_->addResponseMiddleware(std::make_shared<ClerkAuthEventEmitterResponseMiddleware>(self));
    pipeline_->addResponseMiddleware(std::make_shared<ClerkInvalidAuthResponseMiddleware>(self));
    pipeline_->addResponseMiddleware(std::make_shared<ClerkErrorThrowingResponseMiddleware>(logger_));

    apiClient_.emplace(state.frontendApiUrl, pipeline_);
    tokensCache_ = std::make_shared<SessionTokensCache>();
    tokenFetcher_ = std::make_unique<SessionTokenFetcher>(*apiClient_, tokensCache_, logger_);
    telemetry_ = std::make_unique<TelemetryCollector>(
        options.telemetryEnabled && PublishableKey::isDevelopment(state.publishableKey),
        options.telemetryBaseUrl.value_or(state.frontendApiUrl), state.publishableKey,
        PreferencesStore::standard(), logger_);
}

async::Task<void> Clerk::load() {
    return loadSequence(QPointer<Clerk>(this));
}

async::Task<std::optional<Client>> Clerk::refreshClient() {
    if (!isConfigured())
        return fetchClient(QPointer<Clerk>(this)); // fails at once with the missing-key error
    return retryingOperation(
        clientRefreshPolicy, QStringLiteral("client refresh"),
        [self = QPointer<Clerk>(this)] { return fetchClient(self); }, logger_);
}

async::Task<Clerk::Environment> Clerk::refreshEnvironment() {
    return fetchEnvironment(QPointer<Clerk>(this));
}

async::Task<std::optional<Client>> Clerk::fetchClient(QPointer<Clerk> self) {
    const ClerkAPIClient api = alive(self).apiClient();
    // The client sync middleware has applied the answer by the time it arrives here.
    co_await api.request<ClientResponse<std::optional<Client>>>("GET", QStringLiteral("/v1/client"));
    co_return alive(self).client_;
}

async::Task<Clerk::Environment> Clerk::fetchEnvironment(QPointer<Clerk> self) {
    const ClerkAPIClient api = alive(self).apiClient();
    Environment environment = co_await api.request<Environment>("GET", QStringLiteral("/v1/environment"));
    Clerk& clerk = alive(self);
    clerk.setEnvironment(environment);
    clerk.cacheManager_->saveEnvironment(environment);
    co_return environment;
}

async::Task<void> Clerk::signOut() {
    return [](QPointer<Clerk> self) -> async::Task<void> {
        const ClerkAPIClient api = alive(self).apiClient();
        co_await api.send("DELETE", QStringLiteral("/v1/client/sessions"));
    }(QPointer<Clerk>(this));
}

async::Task<void> Clerk::loadSequence(QPointer<Clerk> self) {
    alive(self).telemetry_->record({QStringLiteral("METHOD_CALLED"), {{QStringLiteral("method"), "load"}}});

    const bool cacheUsable =
        co_await alive(self).cacheManager_->claimForInstance(alive(self).configuration().publishableKey);
    if (cacheUsable) {
        const CacheManager& cache = *alive(self).cacheManager_;
        auto cachedClient = co_await cache.loadCachedClient();
        const auto cachedDate = co_await alive(self).cacheManager_->loadCachedServerDate();
        auto cachedEnvironment = co_await alive(self).cacheManager_->loadCachedEnvironment();
        Clerk& clerk = alive(self);
        if (cachedClient && !clerk.client_) {
            clerk.lastClientServerFetchDate_ = cachedDate;
            clerk.setClient(std::move(cachedClient));
        }
        if (cachedEnvironment)
            clerk.setEnvironment(std::move(*cachedEnvironment));
    }

    std::exception_ptr failure;
    try {
        co_await fetchEnvironment(self);
    } catch (...) {
        failure = std::current_exception();
    }
    try {
        co_await alive(self).refreshClient();
    } catch (...) {
        failure = std::current_exception();
    }
    Clerk& clerk = alive(self);
    if (failure && !isCancellation(failure))
        clerk.logger_.error(QStringLiteral("Failed to load client or environment"));

    clerk.poller_.start([self] { return pollActiveSession(self); });
    clerk.loaded_ = true;
    Q_EMIT clerk.loadedChanged();
}

async::Task<void> Clerk::pollActiveSession(QPointer<Clerk> self) {
    const auto session = alive(self).session();
    if (session)
        co_await session->getToken(Session::GetTokenOptions{}, alive(self));
}

void Clerk::applicationDidBecomeActive() {
    if (!loaded_)
        return;
    if (!tasks_.isRunning(foregroundRefreshTask_))
        foregroundRefreshTask_ = tasks_.spawn(refreshOnForeground(QPointer<Clerk>(this)));
    const QPointer<Clerk> self(this);
    poller_.start([self] { return pollActiveSession(self); });
}

void Clerk::applicationDidEnterBackground() {
    poller_.stop();
}

async::Task<void> Clerk::refreshOnForeground(QPointer<Clerk> self) {
    try {
        co_await alive(self).refreshClient();
    } catch (...) {
        if (!isCancellation(std::current_exception()))
            alive(self).logger_.error(QStringLiteral("Failed to refresh client on foreground"));
    }
    try {
        co_await fetchEnvironment(self);
    } catch (...) {
        if (!isCancellation(std::current_exception()))
            alive(self).logger_.error(QStringLiteral("Failed to refresh environment on foreground"));
    }
}

void Clerk::refreshClientAfterInvalidAuthentication() {
    if (tasks_.isRunning(invalidAuthRefreshTask_))
        return;
    const ClerkLogger logger = logger_;
    invalidAuthRefreshTask_ = tasks_.spawn(
        refreshClient(), [](const std::optional<Client>&) {},
        [logger](std::exception_ptr error) {
            if (!isCancellation(error))
                logger.error(
                    QStringLiteral("Failed to refresh client after invalid authentication response"));
        });
}

void Clerk::applyResponseClient(std::optional<Client> client, quint64 responseSequence,
                                std::optional<QDateTime> serverDate) {
    const bool newerByDate =
        serverDate && lastClientServerFetchDate_ &&
        (*serverDate > *lastClientServerFetchDate_ || (*serverDate == *lastClientServerFetchDate_ && client &&
                                                       client_ && client_->updatedAt < client->updatedAt));
    if (lastAppliedSequence_ && *lastAppliedSequence_ >= responseSequence && !newerByDate) {
        logger_.warning(
            QStringLiteral("Ignoring stale client response. Current sequence: %1, incoming sequence: %2")
                .arg(*lastAppliedSequence_)
                .arg(responseSequence));
        return;
    }
    lastAppliedSequence_ = std::max(lastAppliedSequence_.value_or(0), responseSequence);
    if (serverDate)
        lastClientServerFetchDate_ = serverDate;
    setClient(std::move(client));
    cacheManager_->saveClient(client_, lastClientServerFetchDate_);
}

void Clerk::setClient(std::optional<Client> client) {
    if (!client || !client_ || client->id != client_->id)
        tokensCache_->clear();
    client_ = std::move(client);
    if (client_) {
        // A session's last token saves a request while it is still fresh.
        for (const Session& session : client_->sessions)
            if (session.lastActiveToken && !tokensCache_->contains(session.id))
                tokensCache_->insert(session.id, *session.lastActiveToken);
    }
    warnIfPending();
    Q_EMIT clientChanged();
}

void Clerk::setEnvironment(Environment environment) {
    environment_ = std::move(environment);
    Q_EMIT environmentChanged();
}

void Clerk::warnIfPending() const {
    const auto active = session();
    if (!active || active->status != SessionStatus::pending)
        return;
    QStringList keys;
    for (const Session::Task& task : active->tasks.value_or(QList<Session::Task>{}))
        keys << QLatin1Char('"') + task.key + QLatin1Char('"');
    logger_.warning(
        QStringLiteral("Your session is currently pending. Complete the remaining session tasks to "
                       "activate it. Remaining session tasks: [%1]")
            .arg(keys.join(QStringLiteral(", "))));
}

QHash<QString, QList<Session>> Clerk::sessionsByUserId() const {
    QHash<QString, QList<Session>> out;
    if (!client_)
        return out;
    for (const Session& session : client_->sessions)
        if (session.user)
            out[session.user->id].append(session);
    return out;
}
