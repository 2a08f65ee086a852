#include "TestServer.h"

#include "ServerContext.h"
#include "TestDatabase.h"

#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QJsonDocument>
#include <QLoggingCategory>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QTest>
#include <QTimer>
#include <QUrlQuery>

QJsonObject TestServer::Reply::json() const {
    return QJsonDocument::fromJson(body).object();
}

QJsonArray TestServer::Reply::jsonArray() const {
    return QJsonDocument::fromJson(body).array();
}

QJsonValue TestServer::Reply::at(const QString& path) const {
    QJsonValue value = QJsonDocument::fromJson(body).object();
    for (const QString& step : path.split('.')) {
        bool isIndex = false;
        const int index = step.toInt(&isIndex);
        value = isIndex && value.isArray() ? value.toArray().at(index) : value.toObject().value(step);
    }
    return value;
}

QByteArray TestServer::Reply::header(const QByteArray& name) const {
    for (const auto& pair : headers) {
        if (pair.first.compare(name, Qt::CaseInsensitive) == 0)
            return pair.second;
    }
    return {};
}

QString TestServer::Reply::errorCode() const {
    return json().value("errors").toArray().at(0).toObject().value("code").toString();
}

TestServer::TestServer(const QString& dataDir) : dataDir_(dataDir) {
    options_.demo = true;
    QLoggingCategory::setFilterRules("orbelo.server.*.info=false");
    if (dataDir_.isEmpty()) {
        temporary_ = std::make_unique<QTemporaryDir>();
        dataDir_ = temporary_->path();
    }
}

TestServer::~TestServer() {
    stop();
    if (temporary_)
        TestDatabase::drop(dataDir_);
}

bool TestServer::start() {
    ServerOptions options = options_;
    options.port = 0;
    options.dataDir = dataDir_;
    options.database = TestDatabase::forDataDir(dataDir_);
    options.jobDelayMs = jobDelayMs_;
    server_ = std::make_unique<LocalServer>(options);
    server_->setClock([this] {
        const qint64 frozen = frozenAtMs_;
        return (frozen ? frozen : QDateTime::currentMSecsSinceEpoch()) + offsetMs_;
    });
    QString error;
    if (!server_->start(&error)) {
        qWarning() << "server did not start:" << error;
        return false;
    }
    return true;
}

void TestServer::stop() {
    network_.clearConnectionCache();
    server_.reset();
}

QString TestServer::url(const QString& path) const {
    return server_->listenUrl() + path;
}

void TestServer::trustCertificate() const {
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.addCaCertificates(QSslCertificate::fromPath(server_->certificatePath()));
    QSslConfiguration::setDefaultConfiguration(tls);
}

QString TestServer::publishableKey() const {
    const QUrl base(url(QString()));
    const QByteArray host = QStringLiteral("%1:%2$").arg(base.host()).arg(base.port()).toUtf8();
    return QStringLiteral("pk_test_") +
           QString::fromLatin1(host.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals));
}

TestServer::Reply TestServer::send(const QByteArray& method, const QString& pathOrUrl, const QByteArray& body,
                                   const QList<QPair<QByteArray, QByteArray>>& headers) {
    QNetworkRequest request(QUrl(pathOrUrl.startsWith("https://") ? pathOrUrl : url(pathOrUrl)));
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    // Read from the data dir, so that a server process started on it is trusted too.
    tls.setCaCertificates(QSslCertificate::fromPath(QDir(dataDir_).filePath("server-cert.pem")));
    request.setSslConfiguration(tls);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    for (const auto& [name, value] : headers)
        request.setRawHeader(name, value);
    QNetworkReply* reply = network_.sendCustomRequest(request, method, body);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    Reply result;
    result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    result.body = reply->readAll();
    result.headers = reply->rawHeaderPairs();
    result.networkError = reply->error();
    if (reply->error() != QNetworkReply::NoError && result.status == 0)
        qWarning() << "transport error" << reply->errorString();
    reply->deleteLater();
    return result;
}

TestServer::Reply TestServer::form(const QByteArray& method, const QString& path,
                                   const QList<QPair<QString, QString>>& fields, const Device& device) {
    QUrlQuery query;
    for (const auto& [key, value] : fields)
        query.addQueryItem(QString::fromLatin1(QUrl::toPercentEncoding(key)),
                           QString::fromLatin1(QUrl::toPercentEncoding(value)));
    QList<QPair<QByteArray, QByteArray>> headers{{"Content-Type", "application/x-www-form-urlencoded"}};
    if (!device.deviceToken.isEmpty())
        headers.append({"Authorization", device.deviceToken});
    return send(method, path + "?_is_native=true", query.toString(QUrl::FullyEncoded).toUtf8(), headers);
}

TestServer::Reply TestServer::api(const QByteArray& method, const QString& path, const QString& token,
                                  const QJsonObject& body) {
    QList<QPair<QByteArray, QByteArray>> headers{{"Content-Type", "application/json"},
                                                 {"Accept", "application/json"}};
    if (!token.isEmpty())
        headers.append({"Authorization", "Bearer " + token.toLatin1()});
    const bool hasBody = method == "POST" || method == "PUT" || method == "PATCH";
    return send(method, path, hasBody ? QJsonDocument(body).toJson(QJsonDocument::Compact) : QByteArray(),
                headers);
}

QString TestServer::lastCodeSentTo(const QString& recipient) {
    const auto mail = server_->context().db.row(
        "SELECT body FROM mailbox WHERE recipient = ? ORDER BY id DESC LIMIT 1", {recipient});
    if (!mail)
        return {};
    static const QRegularExpression code("\\b(\\d{6})\\b");
    return code.match(mail->value("body").toString()).captured(1);
}

TestServer::Device TestServer::signUp(const QString& email, const QString& password) {
    Device device;
    const Reply created =
        form("POST", "/v1/client/sign_ups", {{"email_address", email}, {"password", password}}, device);
    device.deviceToken = created.header("Authorization");
    const QString signUpId = created.json().value("response").toObject().value("id").toString();
    form("POST", "/v1/client/sign_ups/" + signUpId + "/prepare_verification", {{"strategy", "email_code"}},
         device);
    // Without --demo the code goes to the log only; the test reads it from the stored attempt.
    const QString code =
        options_.demo
            ? QStringLiteral("424242")
            : QJsonDocument::fromJson(server_->context()
                                          .db.row("SELECT state FROM attempts WHERE id = ?", {signUpId})
                                          ->value("state")
                                          .toByteArray())
                  .object()
                  .value("email_code")
                  .toString();
    const Reply verified = form("POST", "/v1/client/sign_ups/" + signUpId + "/attempt_verification",
                                {{"strategy", "email_code"}, {"code", code}}, device);
    const QJsonObject signUp = verified.json().value("response").toObject();
    device.sessionId = signUp.value("created_session_id").toString();
    device.userId = signUp.value("created_user_id").toString();
    return device;
}

QString TestServer::sessionToken(const Device& device, const QString& serverUrl) {
    return form("POST", serverUrl + "/v1/client/sessions/" + device.sessionId + "/tokens",
                {{"organization_id", ""}}, device)
        .json()
        .value("response")
        .toObject()
        .value("jwt")
        .toString();
}

QString TestServer::uploadDocument(const QString& token, const QByteArray& bytes, const QString& filename,
                                   const QString& contentType, const QString& courseId) {
    QJsonObject initiate{{"filename", filename}, {"file_size", bytes.size()}, {"content_type", contentType}};
    if (!courseId.isEmpty())
        initiate.insert("course_id", courseId);
    const QJsonObject presigned = api("POST", "/api/v2/uploads/document/initiate", token, initiate).json();
    const Reply put = send("PUT", presigned.value("presigned_url").toString(), bytes,
                           {{"Content-Type", contentType.toLatin1()}});
    QJsonObject complete{{"document_id", presigned.value("document_id")},
                         {"s3_key", presigned.value("s3_key")},
                         {"original_filename", filename},
                         {"skip_syllabus_extraction", !courseId.isEmpty()}};
    if (!courseId.isEmpty())
        complete.insert("course_id", courseId);
    if (put.status != 200 || api("POST", "/api/v2/uploads/document/complete", token, complete).status != 200)
        return {};
    return presigned.value("document_id").toString();
}

QString TestServer::addCourse(const QString& token, const QString& title) {
    return api("POST", "/api/class-info", token, {{"class_title", title}}).json()["course_id"].toString();
}

QJsonObject TestServer::issueQuiz(const Device& device, int questions, int right, const QString& difficulty,
                                  const QString& courseId) {
    const auto user = server_->context().db.row("SELECT email FROM users WHERE id = ?", {device.userId});
    const QJsonObject body{{"email", user ? user->value("email").toString() : QString()},
                           {"num_questions", questions},
                           {"difficulty", difficulty},
                           {"course_id", courseId}};
    QJsonObject quiz =
        send("POST", "/__control/quiz", QJsonDocument(body).toJson(), {{"Content-Type", "application/json"}})
            .json();
    QJsonArray answers = quiz.value("answers").toArray();
    for (int i = right; i < answers.size(); ++i)
        answers[i] = "1";
    quiz.insert("answers", answers);
    return quiz;
}

TestServer::Reply TestServer::completeQuiz(const Device& device, const QString& token,
                                           const QString& attemptId) {
    const QJsonObject quiz = issueQuiz(device, 4, 3, "medium");
    return api("POST", "/api/gamification/quiz/complete", token,
               {{"user_id", device.userId},
                {"quiz_id", quiz.value("quiz_id")},
                {"answers", quiz.value("answers")},
                {"quiz_score", 75.0},
                {"quiz_difficulty", "medium"},
                {"questions_correct", 3},
                {"total_questions", 4},
                {"attempt_id", attemptId}});
}

QJsonObject TestServer::waitForProcessing(const QString& documentId, const QString& token) {
    return waitForJob(
        api("GET", "/api/documents/" + documentId + "/status", token).json()["task_id"].toString(), token);
}

QJsonObject TestServer::waitForJob(const QString& jobId, const QString& token) {
    QJsonObject job;
    for (int polls = 0; polls < 10000; ++polls) {
        job = api("GET", "/api/jobs/" + jobId, token).json();
        const QString status = job.value("status").toString();
        if (status != "queued" && status != "processing")
            break;
        QTest::qWait(0);
    }
    return job;
}
