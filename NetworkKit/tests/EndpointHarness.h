#pragma once

#include "APIClient.h"
#include "Json.h"
#include "ScriptedHttpServer.h"
#include "TaskScope.h"
#include "VirtualClock.h"

#include <QFile>
#include <QJsonDocument>
#include <QtTest>

#include <stdexcept>

// Endpoint calls against a scripted loopback server. Time is virtual and moves on by itself
// whenever a call waits up to 2 s (job polling), so no test waits real seconds; `waits` keeps
// every such wait.
class EndpointHarness {
public:
    async::VirtualClock clock;
    ScriptedHttpServer server;
    QList<async::Clock::Duration> waits;
    static constexpr async::Clock::Duration maxAutomaticWait{2'000};

    APIClient client() const {
        return APIClient(server.baseUrl(), [] { return token(); });
    }

    // A 200 answer with the body of a file under the tests' data folder.
    void answer(const QString& fixtureName) {
        server.enqueue(ScriptedResponse::json(200, fixture(fixtureName)));
    }
    void answerJson(const QByteArray& body, int status = 200) {
        server.enqueue(ScriptedResponse::json(status, body));
    }
    const RecordedRequest& request(int index = -1) const {
        return server.requests().at(index < 0 ? server.requestCount() + index : index);
    }

    template <class T> T await(async::Task<T> task) {
        async::TaskScope scope;
        bool done = false;
        std::exception_ptr error;
        std::optional<std::conditional_t<std::is_void_v<T>, bool, T>> value;
        const auto onError = [&](std::exception_ptr e) {
            error = e;
            done = true;
        };
        if constexpr (std::is_void_v<T>) {
            scope.spawn(
                std::move(task), [&] { done = true; }, onError);
        } else {
            scope.spawn(
                std::move(task),
                [&](T v) {
                    value = std::move(v);
                    done = true;
                },
                onError);
        }
        // Requests in flight hold their 60-second timeouts on the clock too: only short waits are
        // taken for polls and retries.
        const auto waiting = [&] {
            return clock.pendingTimers() > 0 && clock.nextTimerIn() <= maxAutomaticWait;
        };
        while (!done) {
            if (waiting()) {
                waits.append(clock.nextTimerIn());
                clock.advance(clock.nextTimerIn());
            } else if (!QTest::qWaitFor([&] { return done || waiting(); }, 20'000)) {
                throw std::runtime_error("the call never finished");
            }
        }
        if (error)
            std::rethrow_exception(error);
        if constexpr (!std::is_void_v<T>)
            return std::move(*value);
    }

    // The error a call ends with; throws when it ends otherwise.
    template <class E, class T> E failure(async::Task<T> task) {
        try {
            await(std::move(task));
        } catch (const E& e) {
            return e;
        }
        throw std::runtime_error("the call did not fail as expected");
    }

    static QByteArray fixture(const QString& name) {
        QFile file(QStringLiteral(NETWORKKIT_TEST_DATA_DIR "/") + name);
        if (!file.open(QIODevice::ReadOnly))
            throw std::runtime_error("missing fixture " + name.toStdString());
        return file.readAll();
    }

    // JSON in one canonical text (keys sorted, no spaces), for comparing documents.
    static QByteArray canonical(const QJsonValue& value) {
        return value.isArray() ? QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact)
                               : QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact);
    }
    static QByteArray canonical(const QByteArray& json) { return canonical(json::parse(json)); }

    // A decoded answer written back out: equal to the fixture when every key was read into its field.
    template <class T> static QByteArray reencoded(const T& decoded) {
        return canonical(json::encodeValue(decoded));
    }

private:
    static async::Task<std::optional<QString>> token() { co_return QStringLiteral("test-token"); }

    async::ScopedClock useClock_{clock};
};

// The method, target (path and query) and JSON body of a recorded request; no body for nullptr.
#define COMPARE_REQUEST(request, expectedMethod, expectedTarget, expectedBody)                               \
    do {                                                                                                     \
        const RecordedRequest& r_ = (request);                                                               \
        QCOMPARE(r_.method, QByteArray(expectedMethod));                                                     \
        QCOMPARE(r_.target, QByteArray(expectedTarget));                                                     \
        const char* body_ = (expectedBody);                                                                  \
        if (body_)                                                                                           \
            QCOMPARE(EndpointHarness::canonical(r_.body), EndpointHarness::canonical(QByteArray(body_)));    \
        else                                                                                                 \
            QVERIFY(r_.body.isEmpty());                                                                      \
    } while (false)
