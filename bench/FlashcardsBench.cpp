// The flashcard study backend at scale, against an in-process local server: the due query and one
// SM-2 review for a user with 20,000 cards, each timed as an HTTPS round trip over loopback
// (one keep-alive connection), and the due query also in the store alone. Run by hand, never by
// ctest.
#include "Flashcards/FlashcardStore.h"
#include "LocalServerBench.h"
#include "ServerContext.h"
#include "TestServer.h"

#include <QCoreApplication>
#include <QJsonObject>

#include <benchmark/benchmark.h>

namespace {

constexpr int cards = 20'000;

TestServer* server = nullptr;
TestServer::Device device;

void BM_DueQuery(benchmark::State& state) {
    const QString token = server->sessionToken(device);
    qsizetype bytes = 0;
    for (auto _ : state) {
        const TestServer::Reply reply =
            server->api("GET", "/api/study-content/flashcards/due?limit=100", token);
        if (reply.status != 200 || reply.json().value("count").toInt() != 100) {
            state.SkipWithError("the due query did not answer a full page");
            break;
        }
        bytes = reply.body.size();
    }
    state.counters["payload_bytes"] = double(bytes);
}

// The same query in the store, without HTTP: the server's part of the round trip.
void BM_DueQueryInStore(benchmark::State& state) {
    ServerContext& context = server->server().context();
    for (auto _ : state) {
        if (FlashcardStore(context).due(device.userId, context.nowMs(), 100).cards.size() != 100) {
            state.SkipWithError("the store did not answer a full page");
            break;
        }
    }
}

void BM_Review(benchmark::State& state) {
    const QString token = server->sessionToken(device);
    int next = 0;
    for (auto _ : state) {
        const QString id = QStringLiteral("card_%1").arg(next++ % cards);
        const int rating = next % 4;
        if (server
                ->api("POST", "/api/study-content/flashcards/" + id + "/review", token, {{"quality", rating}})
                .status != 200) {
            state.SkipWithError("the review did not answer 200");
            break;
        }
    }
}

bool setUp() {
    if (!server->start())
        return false;
    device = server->signUp("bench@example.com", "study-hard-1");
    Database& db = server->server().context().db;
    const qint64 now = server->server().context().nowMs();
    const qint64 day = 86'400'000;
    // A third new, a third overdue by up to a month, a third due in the coming month.
    db.transaction();
    for (int i = 0; i < cards; ++i) {
        const QVariant next =
            i % 3 == 0 ? QVariant() : QVariant(now + (i % 3 == 1 ? -1 : 1) * (i % 30 + 1) * day);
        db.exec("INSERT INTO flashcards (user_id, id, source, front, back, created_at, next_review_at, "
                "repetitions,"
                " interval_days) VALUES (?, ?, 'card', ?, ?, ?, ?, ?, ?)",
                {device.userId, QStringLiteral("card_%1").arg(i), QStringLiteral("Question %1").arg(i),
                 QStringLiteral("Answer %1").arg(i), now - 60 * day + i, next, next.isNull() ? 0 : 2,
                 next.isNull() ? 0 : 6});
    }
    return db.commit();
}

} // namespace

int main(int argc, char** argv) {
    return runLocalServerBenchmarks(
        argc, argv, server, setUp, "its cards",
        {{"BM_DueQuery", BM_DueQuery}, {"BM_DueQueryInStore", BM_DueQueryInStore}, {"BM_Review", BM_Review}});
}
