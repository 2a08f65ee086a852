#pragma once

#include "ServerRequest.h"
#include "ServerResponse.h"

#include <QObject>
#include <QSslSocket>

// One client connection: reads HTTP/1.1 requests one at a time (a pipelined request waits until
// the previous one has been answered) and writes the answers.
class HttpConnection : public QObject {
    Q_OBJECT
public:
    HttpConnection(QSslSocket* socket, qint64 maxBodyBytes, QObject* parent = nullptr);

    void respond(const ServerResponse& response);

signals:
    void requestReceived(const ServerRequest& request);

private:
    void readAvailable();
    void parseBuffered();
    void fail(int status);

    QSslSocket* socket_;
    qint64 maxBodyBytes_;
    QByteArray buffer_;
    bool awaitingResponse_ = false;
    bool keepAlive_ = true;
    bool continueSent_ = false;
};
