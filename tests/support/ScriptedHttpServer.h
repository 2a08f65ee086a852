#pragma once

#include "RecordedRequest.h"
#include "ScriptedResponse.h"

#include <QObject>
#include <QPointer>
#include <QQueue>
#include <QSslCertificate>
#include <QTcpServer>

#include <functional>
#include <memory>

class QTcpSocket;

// An HTTP/1.1 server on 127.0.0.1 that answers from a script and records every request, for wire
// tests. Plain HTTP or HTTPS with the test certificate (trustTestCertificate() makes the process
// trust it). Answers come from the queue in order, then from the handler, else 500 "unscripted".
class ScriptedHttpServer : public QObject {
    Q_OBJECT
public:
    enum class Scheme { http, https };
    explicit ScriptedHttpServer(Scheme scheme = Scheme::http, QObject* parent = nullptr);
    ~ScriptedHttpServer() override;

    QUrl baseUrl() const;
    quint16 port() const;

    void enqueue(ScriptedResponse response);
    void setHandler(std::function<ScriptedResponse(const RecordedRequest&)> handler);

    const QList<RecordedRequest>& requests() const { return requests_; }
    int requestCount() const { return int(requests_.size()); }
    // Answers every held request with its scripted answer.
    void releaseHeld();
    int heldCount() const;
    // Connections that the client closed while their request was held unanswered.
    int clientAbortsWhileHeld() const { return clientAborts_; }

    static void trustTestCertificate();
    // A port on 127.0.0.1 where nothing listens.
    static quint16 closedPort();

private:
    struct Connection;
    void accept(QTcpSocket* socket);
    void readFrom(Connection& connection);
    void answer(Connection& connection, const ScriptedResponse& response);

    Scheme scheme_;
    std::unique_ptr<QTcpServer> server_;
    QQueue<ScriptedResponse> queue_;
    std::function<ScriptedResponse(const RecordedRequest&)> handler_;
    QList<RecordedRequest> requests_;
    std::vector<std::unique_ptr<Connection>> connections_;
    int clientAborts_ = 0;
};
