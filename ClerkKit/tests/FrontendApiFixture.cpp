#include "FrontendApiFixture.h"

#include <QJsonDocument>
#include <QLocale>

FrontendApiFixture::FrontendApiFixture(ClerkOptions options) {
    ScriptedHttpServer::trustTestCertificate();
    options.loggerHandler = [this](LogLevel level, const QString& message) { logs.append({level, message}); };
    options.telemetryEnabled = false;
    clerk = std::make_unique<Clerk>(secrets);
    clerk->configure(publishableKey(QStringLiteral("127.0.0.1:%1").arg(server.port())), options);
}

QString FrontendApiFixture::publishableKey(const QString& hostAndPort, const QString& prefix) {
    return prefix +
           QString::fromLatin1((hostAndPort + QLatin1Char('$'))
                                   .toUtf8()
                                   .toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals));
}

QString FrontendApiFixture::jwt(const QDateTime& now, double secondsLeft, const QString& sessionId) {
    const auto part = [](const QJsonObject& o) {
        return QJsonDocument(o)
            .toJson(QJsonDocument::Compact)
            .toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
    };
    const double exp = now.toMSecsSinceEpoch() / 1000.0 + secondsLeft;
    return QString::fromLatin1(part({{"alg", "HS256"}}) + '.' +
                               part({{"sid", sessionId}, {"sub", "user_1"}, {"exp", exp}}) + ".signature");
}

QByteArray FrontendApiFixture::sessionJson(const QString& id, const QString& status, const QString& extra) {
    return QStringLiteral(
               R"({"object":"session","id":"%1","status":"%2","expire_at":1900000000000,)"
               R"("abandon_at":1900000000000,"last_active_at":1700000000000,"created_at":1700000000000,)"
               R"("updated_at":1700000000000,"user":{"id":"user_1","first_name":"Ada"}%3})")
        .arg(id, status, extra)
        .toUtf8();
}

QByteArray FrontendApiFixture::clientJson(const QString& id, const QList<QByteArray>& sessions,
                                          const QString& lastActiveSessionId, qint64 updatedAt) {
    const QString last =
        lastActiveSessionId.isEmpty() ? QStringLiteral("null") : '"' + lastActiveSessionId + '"';
    return QStringLiteral(R"({"object":"client","id":"%1","sessions":[%2],"sign_in":null,"sign_up":null,)"
                          R"("last_active_session_id":%3,"updated_at":%4})")
        .arg(id, QString::fromUtf8(sessions.join(',')), last)
        .arg(updatedAt)
        .toUtf8();
}

ScriptedResponse FrontendApiFixture::withDate(ScriptedResponse response, const QDateTime& date) {
    response.headers.append(
        {"Date", QLocale::c().toString(date.toUTC(), QStringLiteral("ddd, dd MMM yyyy HH:mm:ss")).toLatin1() +
                     " GMT"});
    return response;
}

std::exception_ptr FrontendApiFixture::run(async::Task<void> task) {
    bool done = false;
    std::exception_ptr error;
    scope.spawn(
        std::move(task), [&] { done = true; },
        [&](std::exception_ptr e) {
            error = e;
            done = true;
        });
    if (!QTest::qWaitFor([&] { return done; }, 20'000))
        qFatal("task did not end");
    return error;
}

bool FrontendApiFixture::logged(const QString& message) const {
    return countLogged(message) > 0;
}

int FrontendApiFixture::countLogged(const QString& message) const {
    return int(
        std::count_if(logs.begin(), logs.end(), [&](const auto& entry) { return entry.second == message; }));
}

QList<RecordedRequest> FrontendApiFixture::requestsTo(const QByteArray& method,
                                                      const QByteArray& path) const {
    QList<RecordedRequest> out;
    for (const RecordedRequest& request : server.requests())
        if (request.method == method && request.path == path)
            out << request;
    return out;
}

void FrontendApiFixture::drainPersistence() {
    if (run([](std::shared_ptr<PersistenceWorker> worker) -> async::Task<void> {
            co_await worker->drain();
        }(clerk->persistence())))
        qFatal("draining failed");
    QCoreApplication::processEvents(); // failure logs are posted to the main thread
}
