#include "LocalServer.h"

#include "Auth/ApiAuth.h"
#include "Auth/AuthStore.h"
#include "Auth/ClerkError.h"
#include "Auth/TokenSigner.h"
#include "Courses/CourseRoutes.h"
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
#include "Storage/PrivateFile.h"
#include "Storage/RandomId.h"
#include "Storage/SecretHash.h"
#include "Storage/SettingsStore.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QLoggingCategory>
#include <QTimeZone>

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

} // namespace

LocalServer::LocalServer(ServerOptions options, QObject* parent)
    : QObject(parent), context_(std::make_unique<ServerContext>()) {
    context_->options = std::move(options);
    context_->clock = [] { return QDateTime::currentMSecsSinceEpoch(); };
    for (const FaultInjector::Fault& fault : context_->options.faults)
        faults_.add(fault);
}

LocalServer::~LocalServer() {
    // The handlers and jobs use everything below; they finish before any of it goes. Speech
    // answers on the connections, so it ends while they are still there.
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

QString LocalServer::tokenSecretPath() const {
    return QDir(context_->options.dataDir).filePath("token-secret");
}

bool LocalServer::loadSecret(QByteArray* secret) {
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
    // Also after a stop between writing the file and deleting the row.
    return settings.remove("token_secret");
}

QString LocalServer::incomingDir() const {
    return QDir(context_->options.dataDir).filePath("incoming");
}

bool LocalServer::prepareDataDir(QString* error) {
    const QDir dataDir(context_->options.dataDir);
    // Uploads cut short by a stop are of no use.
    QDir(incomingDir()).removeRecursively();
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
    if (!prepareDataDir(error) || !tls_.loadOrCreate(context.options.dataDir, error))
        return false;
    QByteArray secret;
    if (!loadSecret(&secret)) {
        *error = "cannot read or store the token secret " + tokenSecretPath();
        return false;
    }
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
    if (!http_->listen(context.options.port, tls_.certificate().toPem(), tls_.key().toPem(), error)) {
        *error = QStringLiteral("cannot listen on 127.0.0.1:%1: %2")
                     .arg(QString::number(context.options.port), *error);
        return false;
    }
    context.baseUrl = QStringLiteral("https://127.0.0.1:%1").arg(http_->port());
    context.voice = SpeechVoice::mostIntelligible(InstalledVoices::probe());
    context.signer = std::make_unique<TokenSigner>(secret, context.baseUrl);

    jobs_ = std::make_unique<JobQueue>(context);
    context.jobs = jobs_.get();
    notifications_ = std::make_unique<NotificationHub>(context);
    context.notifications = notifications_.get();
    pushStreams_ = std::make_unique<PushStreams>(context);
    context.pushStreams = pushStreams_.get();
    routes_ = std::make_unique<Routes>(context, faults_, *pushStreams_);
    routes_->registerRoutes(router_);
    routes_->registerRunners(*jobs_);
    requeueOrphans();
    jobs_->start();
    http_->serve();
    return true;
}

HeadVerdict LocalServer::screen(const ServerRequest& head) const {
    HeadVerdict verdict;
    verdict.bodyLimit = bodyLimit(head.method, head.path);
    verdict.account = ApiAuth(*context_).tokenUser(head);
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
    auto send = [this, responder, requestId, method = request.method, path = loggedPath(request.path), timer,
                 delayMs](ServerResponse response) {
        response.setHeader("Date", httpDate(context_->nowMs()));
        qCInfo(lcHttp).noquote()
            << QStringLiteral("id=%1 method=%2 path=%3 status=%4 bytes=%5 handler_ms=%6 delay_ms=%7")
                   .arg(QString::number(requestId), LogText::clean(QString::fromLatin1(method)),
                        LogText::clean(path),
                        response.drop ? QStringLiteral("dropped") : QString::number(response.status),
                        QString::number(response.contentLength()), QString::number(timer.elapsed()),
                        QString::number(delayMs));
        responder.send(response, delayMs);
    };
    ServerResponse response;
    if (fault && fault->drop) {
        response.drop = true;
    } else if (fault && fault->status > 0) {
        response = ServerResponse::apiError(fault->status, "Injected fault");
    } else {
        const DeferredReply::Scope later(send);
        response = route(request);
        if (later.taken())
            return; // the route answers through `send` when its work is done
    }
    send(std::move(response));
}
