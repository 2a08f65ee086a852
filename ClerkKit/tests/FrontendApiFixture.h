#pragma once

// moc stumbles over <coroutine> when it comes before any Qt header.
#include <QtTest>

#include "Clerk.h"
#include "InMemorySecretStore.h"
#include "ScriptedHttpServer.h"
#include "VirtualClock.h"

#include <memory>

// A configured auth client against a scripted Frontend API on loopback HTTPS, on a virtual clock,
// with its log captured.
struct FrontendApiFixture {
    explicit FrontendApiFixture(ClerkOptions options = {});

    static QString publishableKey(const QString& hostAndPort,
                                  const QString& prefix = QStringLiteral("pk_test_"));
    // A session token whose "exp" lies `secondsLeft` after the clock's now.
    static QString jwt(const QDateTime& now, double secondsLeft,
                       const QString& sessionId = QStringLiteral("sess_1"));
    static QByteArray sessionJson(const QString& id, const QString& status = QStringLiteral("active"),
                                  const QString& extra = {});
    static QByteArray clientJson(const QString& id, const QList<QByteArray>& sessions = {},
                                 const QString& lastActiveSessionId = {}, qint64 updatedAt = 1000);
    static ScriptedResponse withDate(ScriptedResponse response, const QDateTime& date);

    // Runs `task` to its end, spinning the event loop; the error it threw, if any.
    template <class T> std::exception_ptr run(async::Task<T> task, T* value = nullptr) {
        bool done = false;
        std::exception_ptr error;
        scope.spawn(
            std::move(task),
            [&](T v) {
                if (value)
                    *value = std::move(v);
                done = true;
            },
            [&](std::exception_ptr e) {
                error = e;
                done = true;
            });
        if (!QTest::qWaitFor([&] { return done; }, 20'000))
            qFatal("task did not end");
        return error;
    }
    std::exception_ptr run(async::Task<void> task);

    bool logged(const QString& message) const;
    int countLogged(const QString& message) const;
    QList<RecordedRequest> requestsTo(const QByteArray& method, const QByteArray& path) const;
    // Waits until every persistence job asked for so far has ended.
    void drainPersistence();

    ScriptedHttpServer server{ScriptedHttpServer::Scheme::https};
    async::VirtualClock clock;
    async::ScopedClock useClock{clock};
    std::shared_ptr<InMemorySecretStore> secrets = std::make_shared<InMemorySecretStore>();
    QList<QPair<LogLevel, QString>> logs;
    std::unique_ptr<Clerk> clerk;
    async::TaskScope scope; // last: tasks end first
};

template <class E> E errorAs(std::exception_ptr error) {
    try {
        if (error)
            std::rethrow_exception(error);
    } catch (const E& e) {
        return e;
    } catch (const std::exception& e) {
        qFatal("unexpected error: %s", e.what());
    }
    qFatal("expected an error");
}
