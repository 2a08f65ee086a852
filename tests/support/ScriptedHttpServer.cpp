#include "ScriptedHttpServer.h"

#include "HttpStatus.h"

#include <QFile>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QSslSocket>
#include <QTimer>

namespace {
QByteArray readData(const char* name) {
    QFile f(QStringLiteral(TEST_SUPPORT_DATA_DIR "/") + QLatin1String(name));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("missing test data %s", name);
    return f.readAll();
}

} // namespace

struct ScriptedHttpServer::Connection {
    QPointer<QTcpSocket> socket;
    QByteArray buffer;
    std::optional<ScriptedResponse> held;
    bool waiting = false; // a request is being answered (delayed or held)
};

ScriptedHttpServer::ScriptedHttpServer(Scheme scheme, QObject* parent) : QObject(parent), scheme_(scheme) {
    if (scheme == Scheme::https) {
        auto ssl = std::make_unique<QSslServer>();
        QSslConfiguration config = QSslConfiguration::defaultConfiguration();
        config.setLocalCertificate(QSslCertificate(readData("test-cert.pem")));
        config.setPrivateKey(QSslKey(readData("test-key.pem"), QSsl::Rsa));
        config.setPeerVerifyMode(QSslSocket::VerifyNone);
        ssl->setSslConfiguration(config);
        server_ = std::move(ssl);
    } else {
        server_ = std::make_unique<QTcpServer>();
    }
    connect(server_.get(), &QTcpServer::pendingConnectionAvailable, this, [this] {
        while (auto* socket = server_->nextPendingConnection())
            accept(socket);
    });
    if (!server_->listen(QHostAddress::LocalHost))
        qFatal("scripted server cannot listen: %s", qPrintable(server_->errorString()));
}

ScriptedHttpServer::~ScriptedHttpServer() {
    for (auto& c : connections_) {
        if (c->socket) {
            c->socket->disconnect(this);
            delete c->socket.data();
        }
    }
}

QUrl ScriptedHttpServer::baseUrl() const {
    return QUrl(QStringLiteral("%1://127.0.0.1:%2")
                    .arg(scheme_ == Scheme::https ? QStringLiteral("https") : QStringLiteral("http"))
                    .arg(port()));
}

quint16 ScriptedHttpServer::port() const {
    return server_->serverPort();
}

void ScriptedHttpServer::enqueue(ScriptedResponse response) {
    queue_.enqueue(std::move(response));
}

void ScriptedHttpServer::setHandler(std::function<ScriptedResponse(const RecordedRequest&)> handler) {
    handler_ = std::move(handler);
}

void ScriptedHttpServer::accept(QTcpSocket* socket) {
    auto connection = std::make_unique<Connection>();
    connection->socket = socket;
    Connection* c = connection.get();
    connections_.push_back(std::move(connection));
    connect(socket, &QTcpSocket::readyRead, this, [this, c] { readFrom(*c); });
    connect(socket, &QTcpSocket::disconnected, this, [this, c] {
        if (c->held)
            ++clientAborts_;
        c->held.reset();
        c->socket->deleteLater();
    });
    readFrom(*c);
}

void ScriptedHttpServer::readFrom(Connection& c) {
    if (!c.socket)
        return;
    c.buffer += c.socket->readAll();
    while (!c.waiting) {
        const qsizetype end = c.buffer.indexOf("\r\n\r\n");
        if (end < 0)
            return;
        const QList<QByteArray> lines = c.buffer.left(end).split('\n');
        RecordedRequest request;
        const QList<QByteArray> requestLine = lines.first().trimmed().split(' ');
        if (requestLine.size() < 2)
            return;
        request.method = requestLine[0];
        request.target = requestLine[1];
        const qsizetype q = request.target.indexOf('?');
        request.hasQuery = q >= 0;
        request.path = request.hasQuery ? request.target.left(q) : request.target;
        request.query = request.hasQuery ? request.target.mid(q + 1) : QByteArray();
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const QByteArray line = lines[i].trimmed();
            const qsizetype colon = line.indexOf(':');
            if (colon > 0)
                request.headers.append({line.left(colon).trimmed(), line.mid(colon + 1).trimmed()});
        }
        const qsizetype length = request.header("Content-Length").value_or("0").toLongLong();
        if (c.buffer.size() < end + 4 + length)
            return;
        request.body = c.buffer.mid(end + 4, length);
        c.buffer.remove(0, end + 4 + length);
        requests_.append(request);

        ScriptedResponse response = !queue_.isEmpty() ? queue_.dequeue()
                                    : handler_        ? handler_(request)
                                                      : ScriptedResponse::json(500, "unscripted");
        if (response.hold) {
            c.waiting = true;
            c.held = std::move(response);
        } else if (response.delayMs > 0) {
            c.waiting = true;
            QTimer::singleShot(response.delayMs, c.socket, [this, &c, response] { answer(c, response); });
        } else {
            answer(c, response);
        }
    }
}

void ScriptedHttpServer::answer(Connection& c, const ScriptedResponse& response) {
    c.waiting = false;
    if (!c.socket)
        return;
    if (response.drop) {
        c.socket->abort();
        return;
    }
    QByteArray out = "HTTP/1.1 " + QByteArray::number(response.status) + ' ' +
                     HttpStatus::reasonPhrase(response.status) + "\r\n";
    bool hasLength = false;
    for (const auto& [name, value] : response.headers) {
        hasLength |= name.compare("Content-Length", Qt::CaseInsensitive) == 0;
        out += name + ": " + value + "\r\n";
    }
    if (!hasLength)
        out += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
    out += "\r\n" + response.body;
    c.socket->write(out);
    readFrom(c); // a pipelined request may be waiting
}

void ScriptedHttpServer::releaseHeld() {
    for (auto& c : connections_) {
        if (c->held) {
            ScriptedResponse response = *std::exchange(c->held, std::nullopt);
            response.hold = false;
            answer(*c, response);
        }
    }
}

int ScriptedHttpServer::heldCount() const {
    return int(std::count_if(connections_.begin(), connections_.end(),
                             [](const auto& c) { return c->held.has_value(); }));
}

void ScriptedHttpServer::trustTestCertificate() {
    QSslConfiguration config = QSslConfiguration::defaultConfiguration();
    config.addCaCertificate(QSslCertificate(readData("test-cert.pem")));
    QSslConfiguration::setDefaultConfiguration(config);
}

quint16 ScriptedHttpServer::closedPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}
