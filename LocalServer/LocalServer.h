#pragma once

#include "Http/FaultInjector.h"
#include "Http/HttpServer.h"
#include "Http/Router.h"
#include "Http/TlsIdentity.h"
#include "ServerOptions.h"

#include <QObject>
#include <atomic>
#include <functional>
#include <memory>

class SongRoutes;
class SpeechRoutes;
class JobQueue;
class NotificationHub;
class NotifyListener;
class PushStreams;
struct ServerContext;
class Routes;

// orbelo-local-server: the auth service stand-in and the Orbelo API over HTTPS, on 127.0.0.1 unless
// told to listen elsewhere; one process, or one of many sharing a database and a data dir.
class LocalServer : public QObject {
    Q_OBJECT
public:
    explicit LocalServer(ServerOptions options, QObject* parent = nullptr);
    ~LocalServer() override;

    // Prepares the data dir, database, certificate and routes, then listens; false with a
    // message in `error` when any of it fails.
    bool start(QString* error);
    quint16 port() const;
    // Where clients reach the service: --public-url, else this process's own address.
    QString baseUrl() const;
    // This process's own address, https://ADDRESS:PORT.
    QString listenUrl() const;
    // Stops gracefully: refuses new connections, gives requests under way up to --stop-timeout-ms
    // to be answered, closes push streams, then stops the jobs (which run again elsewhere or at
    // the next start). The destructor does the same without the wait.
    void stop();
    QString certificatePath() const { return tls_.certificatePath(); }
    // Replaces the wall clock (milliseconds since 1970).
    void setClock(std::function<qint64()> clock);
    FaultInjector& faults() { return faults_; }
    // Where the token that opens the controls of a server without --demo is kept.
    QString adminTokenPath() const;
    // The secret that signs session tokens, upload URLs and media names.
    QString tokenSecretPath() const;
    ServerContext& context() { return *context_; }
    // Read-aloud and narration, with the pool that makes clips; once started.
    SpeechRoutes& speech();
    // Study songs, whose composer a test may replace; once started.
    SongRoutes& songs();
    // Requests handed to the routes so far.
    quint64 requestsHandled() const { return requestCount_; }

private:
    // Runs on a worker thread of the HTTP engine.
    void handle(const ServerRequest& request, const HttpServer::Responder& responder);
    // Runs on an I/O thread of the HTTP engine.
    HeadVerdict screen(const ServerRequest& head) const;
    qint64 bodyLimit(const QByteArray& method, const QString& path) const;
    // Where uploads are written as they arrive, before their route moves them into storage.
    QString incomingDir() const;
    ServerResponse route(const ServerRequest& request);
    bool prepareDataDir(QString* error);
    // The shared secret: --secret-file, else ORBELO_SERVER_SECRET, else the data dir's own.
    bool loadSecret(QByteArray* secret, QString* error);
    bool loadDataDirSecret(QByteArray* secret);
    void shutDown();
    bool loadAdminToken();
    // Hashes the device tokens and backup codes that a data dir from before kept in plain text.
    bool hashPlainSecrets();
    // Gives back what a crash of an older version left without its job: a song's reward use, a
    // queued document's processing (queued again, for any process's workers to run).
    void requeueOrphans();
    // Nothing when the request may use the controls, else the refusal to answer with.
    std::optional<ServerResponse> refuseControl(const ServerRequest& request) const;

    std::unique_ptr<ServerContext> context_;
    TlsIdentity tls_;
    FaultInjector faults_;
    Router router_;
    std::unique_ptr<JobQueue> jobs_;
    std::unique_ptr<NotificationHub> notifications_;
    // Before the HTTP engine: its connections leave the registry as the engine closes them.
    std::unique_ptr<PushStreams> pushStreams_;
    // On PostgreSQL: hears of new notifications made by any process, for the streams held here.
    std::unique_ptr<NotifyListener> pushListener_;
    std::unique_ptr<NotifyListener> jobsListener_; // wakes this process's workers
    std::unique_ptr<Routes> routes_;
    std::unique_ptr<HttpServer> http_;
    QByteArray adminToken_; // never logged
    std::atomic<quint64> requestCount_{0};
};
