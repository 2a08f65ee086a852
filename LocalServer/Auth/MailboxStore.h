#pragma once

#include <QList>
#include <QString>

class Database;

// The mail a demo server keeps instead of sending it, for its mailbox page.
class MailboxStore {
public:
    struct Mail {
        QString recipient;
        QString subject;
        QString body;
        qint64 createdAtMs = 0;
    };

    explicit MailboxStore(Database& db) : db_(db) {}

    void keep(const Mail& mail);
    // The newest `limit` messages, newest first.
    QList<Mail> latest(int limit);

private:
    Database& db_;
};
