// What uploading a 60 MiB document costs the app in memory: the peak resident set above the
// resident set just before, for the streamed upload the Library uses and, for comparison, the
// same file read whole. The local server runs as its own process, so its memory is not counted.
#include "APIClient.h"
#include "ServerProcess.h"
#include "TaskScope.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSslConfiguration>
#include <QTemporaryDir>
#include <QUrlQuery>
#include <cstdio>
#include <fstream>
#include <string>

namespace {

constexpr qint64 fileBytes = 60LL * 1024 * 1024;

// A value in kB from /proc/self/status ("VmRSS", "VmHWM"), in MiB.
double statusMiB(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(field) + ":";
    while (std::getline(status, line)) {
        if (line.rfind(prefix, 0) == 0)
            return std::stod(line.substr(prefix.size())) / 1024.0;
    }
    return -1;
}

// Starts counting the peak resident set again from the current one.
void resetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

class Client {
public:
    explicit Client(QString base) : base_(std::move(base)) {}

    QJsonObject send(const QByteArray& method, const QString& path, const QByteArray& body,
                     const QList<QPair<QByteArray, QByteArray>>& headers, QByteArray* deviceToken = nullptr) {
        QNetworkRequest request(QUrl(base_ + path));
        for (const auto& [name, value] : headers)
            request.setRawHeader(name, value);
        QNetworkReply* reply = network_.sendCustomRequest(request, method, body);
        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        loop.exec();
        if (deviceToken && reply->hasRawHeader("Authorization"))
            *deviceToken = reply->rawHeader("Authorization");
        const QJsonObject answer = QJsonDocument::fromJson(reply->readAll()).object();
        reply->deleteLater();
        return answer;
    }

    QJsonObject form(const QString& path, const QList<QPair<QString, QString>>& fields) {
        QUrlQuery query;
        for (const auto& [key, value] : fields)
            query.addQueryItem(key, QString::fromLatin1(QUrl::toPercentEncoding(value)));
        QList<QPair<QByteArray, QByteArray>> headers{{"Content-Type", "application/x-www-form-urlencoded"}};
        if (!device_.isEmpty())
            headers.append({"Authorization", device_});
        return send("POST", path, query.toString(QUrl::FullyEncoded).toUtf8(), headers, &device_)
            .value("response")
            .toObject();
    }

    // A new account at example.com (the server runs with --demo) and its session token.
    QString signUp() {
        const QString id = form("/v1/client/sign_ups", {{"email_address", "bench@example.com"},
                                                        {"password", "correct horse battery"}})
                               .value("id")
                               .toString();
        form("/v1/client/sign_ups/" + id + "/prepare_verification", {{"strategy", "email_code"}});
        const QString session = form("/v1/client/sign_ups/" + id + "/attempt_verification",
                                     {{"strategy", "email_code"}, {"code", "424242"}})
                                    .value("created_session_id")
                                    .toString();
        return form("/v1/client/sessions/" + session + "/tokens", {}).value("jwt").toString();
    }

    QUrl presignedUrl(const QString& token) {
        const QJsonObject body{
            {"filename", "big.pdf"}, {"file_size", fileBytes}, {"content_type", "application/pdf"}};
        return QUrl(
            send("POST", "/api/v2/uploads/document/initiate", QJsonDocument(body).toJson(),
                 {{"Content-Type", "application/json"}, {"Authorization", "Bearer " + token.toLatin1()}})
                .value("presigned_url")
                .toString());
    }

private:
    QString base_;
    QNetworkAccessManager network_;
    QByteArray device_;
};

// Runs the upload to its end; false when it failed.
bool upload(async::Task<void> task) {
    async::TaskScope scope;
    bool ok = false;
    QEventLoop loop;
    scope.spawn(
        std::move(task),
        [&] {
            ok = true;
            loop.quit();
        },
        [&](std::exception_ptr) { loop.quit(); });
    loop.exec();
    return ok;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    ServerProcess server;
    if (std::string error; !server.start(ORBELO_LOCAL_SERVER, &error)) {
        std::fprintf(stderr, "cannot start the server: %s\n", error.c_str());
        return 1;
    }
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.addCaCertificates(QSslCertificate::fromPath(QString::fromStdString(server.certificate())));
    QSslConfiguration::setDefaultConfiguration(tls);

    QTemporaryDir dir;
    const QString path = dir.filePath("big.pdf");
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        const QByteArray block(1024 * 1024, 'x');
        for (qint64 written = 0; written < fileBytes; written += block.size())
            file.write(block);
    }

    Client client(QStringLiteral("https://127.0.0.1:%1").arg(server.port()));
    const QString token = client.signUp();
    std::printf("Uploading a 60 MiB file to the local server: peak resident set above the resident set "
                "before\n%-22s %10s %10s %8s\n",
                "body", "before MiB", "peak MiB", "above");
    for (const bool streamed : {true, false}) {
        const QUrl url = client.presignedUrl(token);
        const double before = statusMiB("VmRSS");
        resetPeak();
        bool ok = false;
        if (streamed) {
            auto file = std::make_shared<QFile>(path);
            ok = file->open(QIODevice::ReadOnly) &&
                 upload(APIClient::uploadToPresignedURL(url, file, QStringLiteral("application/pdf")));
        } else {
            QFile file(path);
            ok = file.open(QIODevice::ReadOnly) &&
                 upload(
                     APIClient::uploadToPresignedURL(url, file.readAll(), QStringLiteral("application/pdf")));
        }
        const double peak = statusMiB("VmHWM");
        std::printf("%-22s %10.1f %10.1f %8.1f%s\n", streamed ? "streamed from disk" : "read whole", before,
                    peak, peak - before, ok ? "" : "  (upload failed)");
    }
    return 0;
}
