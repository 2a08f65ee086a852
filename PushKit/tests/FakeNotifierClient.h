#pragma once

#include "NotificationError.h"
#include "NotifierClient.h"

#include <QMap>

// The agent in memory: the pending requests by id, every call it took, and failures on demand.
class FakeNotifierClient final : public NotifierClient {
public:
    QMap<QString, LocalNotificationRequest> pending;
    QStringList calls;
    // The agent cannot be reached at all.
    bool unavailable = false;
    // The add of this id is refused.
    QString refusedId;
    // The device token DeviceToken answers; empty: the keyring refuses.
    QString token = QStringLiteral("0a") + QString(62, QLatin1Char('f'));

    async::Task<void> add(LocalNotificationRequest request) override {
        QString call = QStringLiteral("Add ") + request.identifier;
        return run(this, std::move(call), std::move(request));
    }
    async::Task<uint> removeByPrefix(QString prefix) override { return remove(this, std::move(prefix)); }
    async::Task<QList<LocalNotificationRequest>> listPending() override { return list(this); }
    async::Task<QString> deviceToken() override { return tokenText(this); }
    async::Task<void> startPush(QString origin, QString certificatePem) override {
        return record(this,
                      QStringLiteral("StartPush ") + origin + (certificatePem.isEmpty() ? "" : " +pem"));
    }
    async::Task<void> stopPush() override { return record(this, QStringLiteral("StopPush")); }

private:
    void check(const QString& call) {
        calls << call;
        if (unavailable)
            throw NotificationError(NotificationError::Kind::agentUnavailable, QStringLiteral("no agent"));
    }
    static async::Task<void> run(FakeNotifierClient* self, QString call, LocalNotificationRequest request) {
        self->check(call);
        if (request.identifier == self->refusedId)
            throw NotificationError(NotificationError::Kind::refused,
                                    QStringLiteral("refused ") + request.identifier);
        self->pending.insert(request.identifier, request);
        co_return;
    }
    static async::Task<QString> tokenText(FakeNotifierClient* self) {
        self->check(QStringLiteral("DeviceToken"));
        if (self->token.isEmpty())
            throw NotificationError(NotificationError::Kind::refused,
                                    QStringLiteral("the keyring is locked"));
        co_return self->token;
    }
    static async::Task<void> record(FakeNotifierClient* self, QString call) {
        self->check(call);
        co_return;
    }
    static async::Task<uint> remove(FakeNotifierClient* self, QString prefix) {
        self->check(QStringLiteral("RemoveByPrefix ") + prefix);
        uint removed = 0;
        for (auto it = self->pending.begin(); it != self->pending.end();)
            if (it.key().startsWith(prefix)) {
                it = self->pending.erase(it);
                ++removed;
            } else {
                ++it;
            }
        co_return removed;
    }
    static async::Task<QList<LocalNotificationRequest>> list(FakeNotifierClient* self) {
        self->check(QStringLiteral("ListPending"));
        co_return self->pending.values();
    }
};
