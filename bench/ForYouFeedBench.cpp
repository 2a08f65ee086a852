// The For You feed of a user with 50 processed documents (about 2,500 words each, 12 defined
// terms apiece), 200 past events and interests in two categories: a 20-card feed built in
// process, the same when all 50 documents must be read (a data dir from before documents were
// read for the feed when processed), and the GET request over loopback HTTPS. Run by hand, never
// by ctest.
#include "Feed/FeedBuilder.h"
#include "Feed/FeedStore.h"
#include "LocalServerBench.h"
#include "ServerContext.h"

#include <QRandomGenerator>

namespace {

TestServer* server = nullptr;
TestServer::Device device;
QString userId;

constexpr int documents = 50;

// Lecture notes over a made-up lexicon: 40 paragraphs of 8 sentences, every third opening with
// the definition of one of the document's own terms.
QByteArray lecture(int index) {
    QRandomGenerator random(quint32(1000 + index));
    const auto word = [&] {
        QString made;
        for (int letters = 3 + int(random.bounded(7)); letters > 0; --letters)
            made += QChar('a' + int(random.bounded(26)));
        return made;
    };
    const auto sentence = [&](int words) {
        QStringList out;
        for (int i = 0; i < words; ++i)
            out.append(word());
        out.first()[0] = out.first().at(0).toUpper();
        return out.join(' ') + '.';
    };
    QStringList terms;
    for (int i = 0; i < 12; ++i)
        terms.append(word() + ' ' + word());
    QStringList paragraphs{"# Lecture " + QString::number(index + 1)};
    for (int p = 0; p < 40; ++p) {
        QStringList text;
        if (p % 3 == 0)
            text.append(terms.at((p / 3) % terms.size()) + " is a " + sentence(12).toLower());
        for (int s = 0; s < 8; ++s)
            text.append(sentence(6 + int(random.bounded(10))));
        if (p % 3 == 1)
            text.append("Here " + terms.at((p / 3) % terms.size()) + " appears again.");
        paragraphs.append(text.join(' '));
    }
    return paragraphs.join("\n\n").toUtf8();
}

void BM_Feed20(benchmark::State& state) {
    FeedBuilder builder(server->server().context());
    qsizetype cards = 0;
    for (auto _ : state)
        cards = builder.feed(userId, 20).size();
    state.counters["cards"] = double(cards);
}

void BM_FeedReadingAllDocuments20(benchmark::State& state) {
    ServerContext& context = server->server().context();
    FeedBuilder builder(context);
    for (auto _ : state) {
        state.PauseTiming();
        context.db.exec("DELETE FROM foryou_concepts WHERE user_id = ?", {userId});
        state.ResumeTiming();
        benchmark::DoNotOptimize(builder.feed(userId, 20));
    }
}

void BM_FeedRequest20(benchmark::State& state) {
    // Session tokens live a minute: a fresh one for each run.
    const QString token = server->sessionToken(device);
    for (auto _ : state) {
        if (server->api("GET", "/api/courses/foryou/feed?limit=20", token).status != 200) {
            state.SkipWithError("the request did not answer 200");
            break;
        }
    }
}

bool setUp() {
    if (!server->start())
        return false;
    device = server->signUp("bench@example.com", "study-hard-1");
    const QString token = server->sessionToken(device);
    userId = device.userId;
    const QJsonArray interests{
        QJsonObject{{"category", "Hobbies"}, {"items", QJsonArray{"Cooking", "Coding"}}},
        QJsonObject{{"category", "Sports"}, {"items", QJsonArray{"Tennis"}}}};
    server->api("PUT", "/api/user/profile", token, {{"interests", interests}});
    const QString course = server->addCourse(token, "BENCH 101");
    for (int i = 0; i < documents; ++i) {
        const QString id = server->uploadDocument(token, lecture(i), "lecture.md", "text/markdown", course);
        if (server->waitForProcessing(id, token).value("status").toString() != "complete")
            return false;
    }
    // A history to rank against: the first feeds' cards skipped and engaged with.
    ServerContext& context = server->server().context();
    FeedStore store(context);
    for (int round = 0; round < 10; ++round) {
        const QList<FeedCard> cards = FeedBuilder(context).feed(userId, 20);
        for (int i = 0; i < cards.size(); ++i)
            store.addEvent(userId, cards[i].cardId, cards[i].conceptId, i % 3 == 0 ? "engaged" : "skipped");
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    return runLocalServerBenchmarks(argc, argv, server, setUp, "its 50 documents",
                                    {{"BM_Feed20", BM_Feed20},
                                     {"BM_FeedReadingAllDocuments20", BM_FeedReadingAllDocuments20},
                                     {"BM_FeedRequest20", BM_FeedRequest20}});
}
