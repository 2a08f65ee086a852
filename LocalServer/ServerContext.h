#pragma once

#include "ServerOptions.h"
#include "Speech/SpeechVoice.h"
#include "Storage/Database.h"

#include <QString>
#include <functional>
#include <memory>

class JobQueue;
class NotificationHub;
class PushStreams;
class TokenSigner;

// What the route modules share: the store, the clock, the signer and the server's own address.
struct ServerContext {
    ServerContext();
    ~ServerContext(); // where TokenSigner is complete
    ServerOptions options;
    Database db;
    std::unique_ptr<TokenSigner> signer;
    QByteArray secret; // signs tokens, upload URLs and media names; never logged
    JobQueue* jobs = nullptr;
    NotificationHub* notifications = nullptr; // every new notification goes through it
    PushStreams* pushStreams = nullptr;       // the open push streams; none outside a running server
    QString baseUrl;                          // "https://127.0.0.1:<port>"
    SpeechVoice voice; // narration's and songs' voice, the most intelligible installed, chosen at start
    // Milliseconds since 1970; replaceable so that tests move time without waiting.
    std::function<qint64()> clock;

    qint64 nowMs() const { return clock(); }
    qint64 nowSeconds() const { return clock() / 1000; }
    // ISO 8601 UTC with milliseconds, the form of every date in the Orbelo API.
    QString isoNow() const;
    // Hex HMAC-SHA256 of `data` under the server secret.
    QString sign(const QByteArray& data) const;
    QString storageDir() const;
    QString mediaDir() const;
    // Writes a message (verification codes) to the log as one line, and on a demo server also to
    // the mailbox page.
    void deliverMail(const QString& recipient, const QString& subject, const QString& body);
};
