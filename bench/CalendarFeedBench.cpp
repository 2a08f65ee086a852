// A calendar app polling the study feed of a user with about 2,000 study events (20 courses of 34
// weeks, each week with two study blocks), over loopback HTTPS against an in-process local server:
// the whole document, and the revalidation with its ETag (304). Run by hand, never by ctest.
#include "LocalServerBench.h"
#include "TestServer.h"

#include <QCoreApplication>
#include <QJsonArray>

#include <benchmark/benchmark.h>

namespace {

constexpr int courses = 20;
constexpr int weeksPerCourse = 34;

TestServer* server = nullptr;
QString feedUrl;

void BM_FeedFetch(benchmark::State& state) {
    qint64 bytes = 0;
    for (auto _ : state) {
        const TestServer::Reply reply = server->send("GET", feedUrl);
        if (reply.status != 200) {
            state.SkipWithError("the feed did not answer 200");
            break;
        }
        bytes = reply.body.size();
    }
    state.counters["payload_bytes"] = double(bytes);
    state.counters["events"] = double(courses * weeksPerCourse * 3);
}

void BM_FeedRevalidate(benchmark::State& state) {
    const QByteArray etag = server->send("GET", feedUrl).header("etag");
    for (auto _ : state) {
        if (server->send("GET", feedUrl, {}, {{"If-None-Match", etag}}).status != 304) {
            state.SkipWithError("the feed did not answer 304");
            break;
        }
    }
}

bool setUp() {
    if (!server->start())
        return false;
    const QString token = server->sessionToken(server->signUp("bench@example.com", "study-hard-1"));
    server->api("PATCH", "/api/user/timezone", token, {{"timezone", "Europe/Berlin"}});
    for (int c = 0; c < courses; ++c) {
        QJsonArray topics;
        for (int w = 1; w <= weeksPerCourse; ++w)
            topics.append(QStringLiteral("Topic %1 of course %2").arg(w).arg(c + 1));
        const QString courseId = server
                                     ->api("POST", "/api/class-info", token,
                                           {{"class_title", QStringLiteral("COURSE %1").arg(100 + c)},
                                            {"class_time", c % 2 ? "Tue/Thu 2pm" : "MWF 9am"},
                                            {"topics", topics}})
                                     .json()
                                     .value("course_id")
                                     .toString();
        server->api("POST", "/api/generate-study-plan", token, {{"course_id", courseId}});
    }
    feedUrl = server->api("POST", "/api/calendar/feed/issue", token).json().value("https_url").toString();
    return !feedUrl.isEmpty();
}

} // namespace

int main(int argc, char** argv) {
    return runLocalServerBenchmarks(
        argc, argv, server, setUp, "its data",
        {{"BM_FeedFetch", BM_FeedFetch}, {"BM_FeedRevalidate", BM_FeedRevalidate}});
}
