#include "Auth/MailboxStore.h"

#include "Storage/Database.h"

void MailboxStore::keep(const Mail& mail) {
    db_.exec("INSERT INTO mailbox (recipient, subject, body, created_at) VALUES (?, ?, ?, ?)",
             {mail.recipient, mail.subject, mail.body, mail.createdAtMs});
}

QList<MailboxStore::Mail> MailboxStore::latest(int limit) {
    QList<Mail> mails;
    for (const QVariantMap& row : db_.rows(
             "SELECT recipient, subject, body, created_at FROM mailbox ORDER BY id DESC LIMIT ?", {limit}))
        mails.append({row.value("recipient").toString(), row.value("subject").toString(),
                      row.value("body").toString(), row.value("created_at").toLongLong()});
    return mails;
}
