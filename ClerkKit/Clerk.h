#pragma once

#include <QObject>
#include <QPointer>

#include "AuthEvent.h"
#include "CacheManager.h"
#include "ClerkAPIClient.h"
#include "ClerkEnvironment.h"
#include "ClerkOptions.h"
#include "Client.h"
#include "ConfigurationManager.h"
#include "RetryPolicy.h"
#include "SessionPoller.h"
#include "SessionTokenFetcher.h"
#include "SessionTokensCache.h"
#include "SignInAPI.h"
#include "SignUpAPI.h"
#include "TelemetryCollector.h"

#include <memory>

class SecretStore;

// The auth client: its configuration, the device's client and the instance's environment, and the
// pipeline every Frontend API call goes through. One shared instance per process (shared());
// everything happens on the main thread.
class Clerk : public QObject {
    Q_OBJECT
public:
    using Options = ClerkOptions;
    using Environment = ClerkEnvironment;

    // `secrets` replaces the Secret Service store that configure() would open (tests).
    explicit Clerk(std::shared_ptr<SecretStore> secrets = {}, QObject* parent = nullptr);
    ~Clerk() override;

    static Clerk& shared();

    // Once per instance; throws ClerkInitializationError.
    void configure(const QString& publishableKey, Options options = {});
    bool isConfigured() const { return configuration_.state().isConfigured; }
    const ConfigurationState& configuration() const { return configuration_.state(); }

    // The cached client and environment first, then fresh ones from the Frontend API; starts the
    // session polling. Throws the missing-key error before configure(), nothing else.
    async::Task<void> load();
    // GET "/v1/client" (retried as "client refresh"); the answer replaces the client.
    async::Task<std::optional<Client>> refreshClient();
    // GET "/v1/environment".
    async::Task<Environment> refreshEnvironment();
    // Signs out of every session of the device (DELETE "/v1/client/sessions").
    async::Task<void> signOut();

    // The app's lifecycle: refresh on return to the foreground, poll only while active.
    void applicationDidBecomeActive();
    void applicationDidEnterBackground();

    const std::optional<Client>& client() const { return client_; }
    const Environment& environment() const { return environment_; }
    // The client's session named by its lastActiveSessionId.
    std::optional<Session> session() const { return client_ ? client_->activeSession() : std::nullopt; }
    QHash<QString, QList<Session>> sessionsByUserId() const;
    std::optional<quint64> lastAppliedClientResponseSequence() const { return lastAppliedSequence_; }
    std::optional<QDateTime> lastClientServerFetchDate() const { return lastClientServerFetchDate_; }
    int configurationEpoch() const { return configurationEpoch_; }
    bool isLoaded() const { return loaded_; }

    // Applies a client that came with a response, unless a newer one has been applied already.
    void applyResponseClient(std::optional<Client> client, quint64 responseSequence,
                             std::optional<QDateTime> serverDate);
    // Starts a client refresh unless one is already running for this reason.
    void refreshClientAfterInvalidAuthentication();

    // Dependencies, available once configured.
    const ClerkAPIClient& apiClient() const { return *apiClient_; }
    SignInAPI signIns() const { return SignInAPI(*apiClient_); }
    SignUpAPI signUps() const { return SignUpAPI(*apiClient_); }
    SessionTokenFetcher& tokenFetcher() { return *tokenFetcher_; }
    const std::shared_ptr<PersistenceWorker>& persistence() const { return persistence_; }
    TelemetryCollector& telemetry() { return *telemetry_; }
    const ClerkLogger& logger() const { return logger_; }

    static inline const RetryPolicy clientRefreshPolicy{3, std::chrono::milliseconds(500),
                                                        std::chrono::milliseconds(4000)};

Q_SIGNALS:
    void clientChanged();
    void environmentChanged();
    void loadedChanged();
    void authEventReceived(AuthEvent event);

private:
    static async::Task<void> loadSequence(QPointer<Clerk> self);
    static async::Task<std::optional<Client>> fetchClient(QPointer<Clerk> self);
    static async::Task<Environment> fetchEnvironment(QPointer<Clerk> self);
    static async::Task<void> refreshOnForeground(QPointer<Clerk> self);
    static async::Task<void> pollActiveSession(QPointer<Clerk> self);

    void setClient(std::optional<Client> client);
    void setEnvironment(Environment environment);
    void warnIfPending() const;

    std::shared_ptr<SecretStore> secrets_;
    ConfigurationManager configuration_;
    ClerkLogger logger_;
    std::shared_ptr<PersistenceWorker> persistence_;
    std::unique_ptr<CacheManager> cacheManager_;
    std::shared_ptr<ClerkNetworkingPipeline> pipeline_;
    std::optional<ClerkAPIClient> apiClient_;
    std::shared_ptr<SessionTokensCache> tokensCache_;
    std::unique_ptr<SessionTokenFetcher> tokenFetcher_;
    std::unique_ptr<TelemetryCollector> telemetry_;

    std::optional<Client> client_;
    Environment environment_;
    std::optional<quint64> lastAppliedSequence_;
    std::optional<QDateTime> lastClientServerFetchDate_;
    int configurationEpoch_ = 0;
    bool loaded_ = false;

    async::TaskScope::TaskId invalidAuthRefreshTask_ = 0;
    async::TaskScope::TaskId foregroundRefreshTask_ = 0;
    SessionPoller poller_;
    async::TaskScope tasks_; // last: tasks end before what they use
};
