#include "LocalServer.h"

#include "Auth/ApiAuth.h"
#include "Auth/AuthStore.h"
#include "Auth/ClerkError.h"
#include "Auth/TokenSigner.h"
#include "Courses/CourseRoutes.h"
#include "Health/HealthRoutes.h"
#include "Http/DeferredReply.h"
#include "Import/ImportRoutes.h"
#include "Jobs/FailPoint.h"
#include "Jobs/JobQueue.h"
#include "Library/DocumentProcessor.h"
#include "Library/LibraryStore.h"
#include "LogText.h"
#include "Notifications/DeviceStore.h"
#include "Notifications/NotificationHub.h"
#include "Push/PushStreams.h"
#include "Routes.h"
#include "ServerContext.h"
#include "Songs/SongRoutes.h"
#include "Songs/SongStore.h"
#include "Speech/InstalledVoices.h"
#include "Speech/SpeechRoutes.h"
#include "Storage/NotifyListener.h"
#include "Storage/PrivateFile.h"
#include "Storage/RandomId.h"
#include "Storage/SecretHash.h"
#include "Storage/SettingsStore.h"
#include "Storage/StartupLock.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonObject>
#include <QLocale>
#include <QLoggingCategory>
#include <QThread>
#include <QTimeZone>
#include <QUrl>
#include <sys/stat.h>

Q_LOGGING_CATEGORY(lcHttp, "orbelo.server.http")

namespace {

QByteArray httpDate(qint64 ms) {
    return QLocale::c()
        .toString(QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC), "ddd, dd MMM yyyy HH:mm:ss 'GMT'")
        .toLatin1();
}

// The path only: queries may carry upload signatures or OAuth nonces. A calendar feed's path is
// its secret.
QString loggedPath(const QString& path) {
    return path.startsWith("/calendar/") ? QStringLiteral("/calendar/(token)") : path;
}

// A secret given as Base64 (file or environment); nothing unless it decodes to 32 bytes or more.
std::optional<QByteArray> decodeSecret(const QByteArray& base64) {
    const auto decoded =
        QByteArray::fromBase64Encoding(base64.trimmed(), QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || decoded.decoded.size() < 32)
        return std::nullopt;
    return decoded.decoded;
}

// The answer to a request that lost the database's connection (its server stopped or restarted):
// the client tries again shortly, by when this or another process has reconnected. In the auth
// service's envelope under /v1/, else the API's, with an "error" code for scripts and balancers.
ServerResponse databaseUnavailable(const QString& path) {
    const QString message = QStringLiteral("The service cannot reach its database; try again shortly.");
    ServerResponse response;
    if (path.startsWith("/v1/")) {
        response = ClerkError::response(503, "database_unavailable", message, message);
    } else {
        response =
            ServerResponse::json(QJsonObject{{"error", "database_unavailable"}, {"detail", message}}, 503);
    }
    response.setHeader("Retry-After", "1");
    return response;
}

// Uploads still arriving in another process of the service are left alone; one older than this
// belongs to a process that stopped or died.
constexpr qint64 abandonedUploadMs = 3600 * 1000;

} // namespace

LocalServer::LocalServer(ServerOptions options, QObject* parent)
    : QObject(parent), context_(std::make_unique<ServerContext>()) {
    context_->options = std::move(options);
    context_->clock = [] { return QDateTime::currentMSecsSinceEpoch(); };
    for (const FaultInjector::Fault& fault : context_->options.faults)
        faults_.add(fault);
}

LocalServer::~LocalServer() {
    shutDown();
}

void LocalServer::stop() {
    const int timeoutMs = context_->options.stopTimeoutMs;
    if (http_) {
        http_->stopAccepting();
        qCInfo(lcHttp).noquote()
            << QStringLiteral("stopping: no new connections; up to %1 ms for the requests under way")
                   .arg(timeoutMs);
        if (!http_->waitForAnswers(timeoutMs))
            qCWarning(lcHttp).noquote()
                << QStringLiteral("stopping: requests still under way after %1 ms are cut off")
                       .arg(timeoutMs);
    }
    if (pushStreams_) {
        pushStreams_->closeAll();
        // Their close frames leave on the I/O threads, which close() below ends.
        const QDeadlineTimer closing(1000);
        while (pushStreams_->openCount() > 0 && !closing.hasExpired())
            QThread::msleep(10);
    }
    shutDown();
}

void LocalServer::shutDown() {
    // The handlers and jobs use everything below; they finish before any of it goes. Speech
    // answers on the connections, so it ends while they are still there.
    if (pushListener_)
        pushListener_->stop();
    if (jobsListener_)
        jobsListener_->stop();
    if (routes_)
        routes_->speech().stopPool();
    if (http_)
        http_->close();
    if (jobs_)
        jobs_->stop();
}

void LocalServer::setClock(std::function<qint64()> clock) {
    context_->clock = std::move(clock);
}

SpeechRoutes& LocalServer::speech() {
    return routes_->speech();
}

SongRoutes& LocalServer::songs() {
    return routes_->songs();
}

quint16 LocalServer::port() const {
    return http_ ? http_->port() : 0;
}

QString LocalServer::baseUrl() const {
    return context_->baseUrl;
}

QString LocalServer::listenUrl() const {
    QUrl url;
    url.setScheme("https");
    url.setHost(context_->options.listenAddress);
    url.setPort(port());
    return url.toString();
}

QString LocalServer::tokenSecretPath() const {
    return QDir(context_->options.dataDir).filePath("token-secret");
}

bool LocalServer::loadSecret(QByteArray* secret, QString* error) {
    const QString& path = context_->options.secretFile;
    if (!path.isEmpty()) {
        struct stat status {};
        if (::stat(QFile::encodeName(path).constData(), &status) != 0 || !S_ISREG(status.st_mode)) {
            *error = "cannot read the secret file " + path;
            return false;
        }
        if ((status.st_mode & 077) != 0) {
            *error = QStringLiteral("the secret file %1 is open to others (mode %2); it must be 0600")
                         .arg(path, QString::number(status.st_mode & 0777, 8));
            return false;
        }
        const auto stored = PrivateFile::read(path);
        const auto decoded = stored ? decodeSecret(*stored) : std::nullopt;
        if (!decoded) {
            *error = "the secret file " + path + " must hold at least 32 bytes in Base64";
            return false;
        }
        *secret = *decoded;
    } else if (qEnvironmentVariableIsSet("ORBELO_SERVER_SECRET")) {
        const auto decoded = decodeSecret(qgetenv("ORBELO_SERVER_SECRET"));
        if (!decoded) {
            *error = "ORBELO_SERVER_SECRET must hold at least 32 bytes in Base64";
            return false;
        }
        *secret = *decoded;
    } else if (!loadDataDirSecret(secret)) {
        *error = "cannot read or store the token secret " + tokenSecretPath();
        return false;
    }
    // Older data dirs kept the secret in the settings table; also after a stop between writing
    // the file and deleting the row.
    if (!SettingsStore(context_->db).remove("token_secret")) {
        *error = "cannot remove the token secret from the database";
        return false;
    }
    return true;
}

bool LocalServer::loadDataDirSecret(QByteArray* secret) {
    SettingsStore settings(context_->db);
    if (const auto stored = PrivateFile::read(tokenSecretPath())) {
        *secret = QByteArray::fromBase64(*stored);
        if (secret->size() < 32 || !PrivateFile::restrictFile(tokenSecretPath()))
            return false;
    } else {
        // Older data dirs kept the secret in the settings table, next to user data: it moves to
        // its own file unchanged, so that the tokens and links signed with it stay valid.
        const auto kept = settings.value("token_secret");
        *secret = kept ? QByteArray::fromBase64(kept->toLatin1()) : RandomId::bytes(32);
        if (secret->size() < 32 || !PrivateFile::write(tokenSecretPath(), secret->toBase64() + '\n'))
            return false;
    }
    return true;
}

QString LocalServer::incomingDir() const {
    return QDir(context_->options.dataDir).filePath("incoming");
}

bool LocalServer::prepareDataDir(QString* error) {
    const QDir dataDir(context_->options.dataDir);
    // Uploads cut short by a stop or a crash are of no use; other processes may be receiving theirs.
    const QDateTime abandoned =
        QDateTime::fromMSecsSinceEpoch(QDateTime::currentMSecsSinceEpoch() - abandonedUploadMs);
    for (QDirIterator it(incomingDir(), QDir::Files | QDir::Hidden); it.hasNext();) {
        it.next();
        if (it.fileInfo().lastModified() < abandoned)
            QFile::remove(it.filePath());
    }
    if (!dataDir.mkpath(".") || !dataDir.mkpath("storage") || !dataDir.mkpath("media") ||
        !dataDir.mkpath("incoming") || !PrivateFile::restrictDirectory(dataDir.path()) ||
        !PrivateFile::restrictDirectory(incomingDir()) ||
        !PrivateFile::restrictTree(context_->storageDir()) ||
        !PrivateFile::restrictTree(context_->mediaDir())) {
        *error = "cannot create the data dir " + dataDir.path();
        return false;
    }
    QString database = context_->options.database;
    if (database.isEmpty()) {
        // Made 0600 before SQLite opens it: SQLite gives its -wal and -shm files the database's mode.
        database = dataDir.filePath("orbelo.sqlite");
        if (!PrivateFile::createFile(database)) {
            *error = "cannot create the database " + database;
            return false;
        }
        for (const QString& companion : {database + "-wal", database + "-shm"}) {
            if (QFile::exists(companion))
                PrivateFile::restrictFile(companion);
        }
    }
    if (!context_->db.open(database) || !context_->db.migrate()) {
        *error = "database: " + context_->db.lastError();
        return false;
    }
    return true;
}

bool LocalServer::hashPlainSecrets() {
    // All or nothing: a crash halfway leaves the flag and every plain value for the next start.
    return SettingsStore(context_->db).runOnce("plain_secrets", [this] {
        const bool hashed =
            AuthStore(*context_).hashStoredSecrets() && DeviceStore(*context_).hashStoredTokens();
        FailPoint::reach("secrets-hashed");
        return hashed;
    });
}

void LocalServer::requeueOrphans() {
    // One transaction, so that processes starting together give each orphan back once.
    context_->db.inTransaction([this] {
        SongStore(*context_).failUnqueued(
            SongRoutes::jobType, QStringLiteral("The song was interrupted; its use is yours again."));
        // Queued again as the app uploads: checked as a syllabus when it has no course.
        for (const QVariantMap& document : LibraryStore(*context_).unqueued(DocumentProcessor::jobType))
            jobs_->add(document.value("user_id").toString(), DocumentProcessor::jobType,
                       QJsonObject{{"document_id", document.value("id").toString()},
                                   {"check_syllabus", document.value("course_id").toString().isEmpty()}});
        return true;
    });
}

QString LocalServer::adminTokenPath() const {
    return QDir(context_->options.dataDir).filePath("admin-token");
}

bool LocalServer::loadAdminToken() {
    if (const auto stored = PrivateFile::read(adminTokenPath()); stored && stored->size() >= 32) {
        adminToken_ = *stored;
        return PrivateFile::restrictFile(adminTokenPath());
    }
    adminToken_ = RandomId::bytes(32).toHex();
    return PrivateFile::write(adminTokenPath(), adminToken_ + '\n');
}

std::optional<ServerResponse> LocalServer::refuseControl(const ServerRequest& request) const {
    if (!request.peer.isLoopback())
        return ServerResponse::apiError(403, "Controls answer on loopback only.");
    if (context_->options.demo)
        return std::nullopt;
    const QByteArray authorization = request.header("authorization");
    if (!authorization.startsWith("Bearer ")) {
        ServerResponse refused = ServerResponse::apiError(401, "Controls need the admin token.");
        refused.setHeader("WWW-Authenticate", "Bearer");
        return refused;
    }
    if (!SecretHash::same(authorization.mid(7).trimmed(), adminToken_))
        return ServerResponse::apiError(403, "Wrong admin token.");
    return std::nullopt;
}

bool LocalServer::start(QString* error) {
    ServerContext& context = *context_;
    if (!QDir().mkpath(context.options.dataDir)) {
        *error = "cannot create the data dir " + context.options.dataDir;
        return false;
    }
    // Until what the processes of a service share in the data dir exists.
    StartupLock startup;
    if (!startup.acquire(QDir(context.options.dataDir).filePath("startup.lock"))) {
        *error = "cannot lock " + QDir(context.options.dataDir).filePath("startup.lock");
        return false;
    }
    if (!prepareDataDir(error) || !tls_.loadOrCreate(context.options.dataDir, error))
        return false;
    QByteArray secret;
    if (!loadSecret(&secret, error))
        return false;
    context.secret = secret;
    if (!hashPlainSecrets()) {
        *error = "cannot hash the device tokens and backup codes of the database";
        return false;
    }
    if (!loadAdminToken()) {
        *error = "cannot read or store the admin token " + adminTokenPath();
        return false;
    }

    http_ = std::make_unique<HttpServer>(
        context.options.http,
        [this](const ServerRequest& request, const HttpServer::Responder& responder) {
            handle(request, responder);
        },
        [this](const ServerRequest& head) { return screen(head); });
    if (!http_->listen(context.options.listenAddress, context.options.port, tls_.certificate().toPem(),
                       tls_.key().toPem(), error)) {
        *error = QStringLiteral("cannot listen on %1 port %2: %3")
                     .arg(context.options.listenAddress, QString::number(context.options.port), *error);
        return false;
    }
    context.baseUrl = context.options.publicUrl.isEmpty()
                          ? QStringLiteral("https://127.0.0.1:%1").arg(http_->port())
                          : context.options.publicUrl;
    context.voice = SpeechVoice::mostIntelligible(InstalledVoices::probe());
    context.signer = std::make_unique<TokenSigner>(secret, context.baseUrl);

    jobs_ = std::make_unique<JobQueue>(context);
    context.jobs = jobs_.get();
    notifications_ = std::make_unique<NotificationHub>(context);
    context.notifications = notifications_.get();
    pushStreams_ = std::make_unique<PushStreams>(context);
    context.pushStreams = pushStreams_.get();
    if (context.db.engine() == Database::Engine::PostgreSQL) {
        pushListener_ = std::make_unique<NotifyListener>(
            context.options.database, NotificationHub::pushChannel,
            [this](const QString& userId) { pushStreams_->catchUp(userId); },
            [this] { pushStreams_->catchUpAll(); });
        pushListener_->start();
        if (context.options.jobWorkers > 0) {
            jobsListener_ = std::make_unique<NotifyListener>(
                context.options.database, JobQueue::jobsChannel, [this](const QString&) { jobs_->wake(); },
                [this] { jobs_->wake(); });
            jobsListener_->start();
        }
    }
    routes_ = std::make_unique<Routes>(context, faults_, *pushStreams_);
    routes_->registerRoutes(router_);
    routes_->registerRunners(*jobs_);
    requeueOrphans();
    jobs_->start();
    http_->trustProxies(context.options.trustedProxies);
    http_->serve();
    return true;
}

HeadVerdict LocalServer::screen(const ServerRequest& head) const {
    HeadVerdict verdict;
    verdict.bodyLimit = bodyLimit(head.method, head.path);
    verdict.account = ApiAuth(*context_).tokenUser(head);
    verdict.unmetered = HealthRoutes::isHealthPath(head.path);
    if (head.method == "PUT" && head.path.startsWith("/storage/"))
        verdict.spoolDirectory = incomingDir();
    verdict.refusal = head.path.startsWith("/__control/") ? refuseControl(head) : router_.screen(head);
    if (verdict.refusal) {
        verdict.refusal->setHeader("Date", httpDate(context_->nowMs()));
        qCInfo(lcHttp).noquote() << QStringLiteral("method=%1 path=%2 status=%3 refused before the body")
                                        .arg(LogText::clean(QString::fromLatin1(head.method)),
                                             LogText::clean(loggedPath(head.path)),
                                             QString::number(verdict.refusal->status));
    }
    return verdict;
}

qint64 LocalServer::bodyLimit(const QByteArray& method, const QString& path) const {
    const HttpLimits& limits = context_->options.http;
    if (method == "PUT" && path.startsWith("/storage/"))
        return limits.maxUploadBytes;
    if (method == "PUT" && path.startsWith(ImportRoutes::storagePath))
        return ImportRoutes::maxDeckBytes;
    if (method == "POST" && path == "/api/study-content/import/initiate/paste")
        return ImportRoutes::maxPasteBodyBytes;
    // A syllabus file as multipart form data, with room for the form's own lines.
    if (method == "POST" && path == "/api/process-document")
        return CourseRoutes::maxSyllabusBytes + 64 * 1024;
    return limits.maxBodyBytes;
}

ServerResponse LocalServer::route(const ServerRequest& request) {
    if (request.path.startsWith("/__control/")) {
        if (auto refused = refuseControl(request))
            return *refused;
    }
    if (auto response = router_.dispatch(request))
        return *response;
    if (request.path.startsWith("/v1/"))
        return ClerkError::notFound("No such resource: " + request.path);
    return ServerResponse::apiError(404, "Not Found");
}

void LocalServer::handle(const ServerRequest& request, const HttpServer::Responder& responder) {
    QElapsedTimer timer;
    timer.start();
    const quint64 requestId = ++requestCount_;
    const bool controlled = request.path.startsWith("/__control/");
    const auto fault = controlled ? std::nullopt : faults_.take(request.method, request.path);
    const int delayMs = controlled ? 0 : context_->options.latencyMs + (fault ? fault->delayMs : 0);
    // A balancer checks every process every few seconds: only a failing check is worth a line.
    const bool healthCheck = HealthRoutes::isHealthPath(request.path);
    auto send = [this, responder, requestId, method = request.method, path = loggedPath(request.path), timer,
                 delayMs, healthCheck](ServerResponse response) {
        response.setHeader("Date", httpDate(context_->nowMs()));
        const QString line =
            QStringLiteral("id=%1 method=%2 path=%3 status=%4 bytes=%5 handler_ms=%6 delay_ms=%7")
                .arg(QString::number(requestId), LogText::clean(QString::fromLatin1(method)),
                     LogText::clean(path),
                     response.drop ? QStringLiteral("dropped") : QString::number(response.status),
                     QString::number(response.contentLength()), QString::number(timer.elapsed()),
                     QString::number(delayMs));
        if (healthCheck && response.status == 200)
            qCDebug(lcHttp).noquote() << line;
        else
            qCInfo(lcHttp).noquote() << line;
        responder.send(response, delayMs);
    };
    ServerResponse response;
    if (fault && fault->drop) {
        response.drop = true;
    } else if (fault && fault->status > 0) {
        response = ServerResponse::apiError(fault->status, "Injected fault");
    } else {
        Database& db = context_->db;
        // Lost by an earlier request on this thread: a statement tells whether it is back, so that
        // unavailable() below speaks of this request.
        if (!healthCheck && db.unavailable())
            db.row("SELECT 1 AS one");
        const DeferredReply::Scope later(send);
        response = route(request);
        if (later.taken())
            return; // the route answers through `send` when its work is done
        // Whatever the route made of a failed statement, half an answer is worse than none.
        if (!healthCheck && db.unavailable())
            response = databaseUnavailable(request.path);
    }
    send(std::move(response));
}
