// A study song played by the Rewards player, RewardSongPlayer on the platform media player, against
// an in-process local server over loopback HTTPS. The song is a real one: the composer sets a short
// note to music (60 s of Ogg Vorbis) before timing.
//
//   BM_FirstPlay        "Play song" on a fresh player until the playback reports time moving:
//                       the download, the hand-over to the media player and its start. The
//                       counter `download_ms` is the part until the player says it is playing.
//   BM_SeekToMiddle     the slider let go at the middle of a playing song until the playback
//                       reports a time past the middle (and within 1 s of it). `downloads` counts
//                       fetches seen during the seeks: 0, the audio is already on disk.
//
// Each repetition is one play or one seek; the figures to read are the medians. Times stop when
// the player announces the change. The media player reports its position every 100 ms, so the
// counter `sound_ms` estimates when the sound itself started (or resumed at the middle): the time
// taken less how far the reported position had moved on.
//
// Run by hand, never by ctest, with a sound server that needs no device, as the e2e runs do:
//
//   export XDG_RUNTIME_DIR=$(mktemp -d)
//   pulseaudio -n --daemonize=no --exit-idle-time=-1 -L "module-null-sink sink_name=null"
//       -L "module-native-protocol-unix auth-anonymous=1 socket=$XDG_RUNTIME_DIR/pulse.sock" &
//       (one command)
//   PULSE_SERVER=unix:$XDG_RUNTIME_DIR/pulse.sock build-release/bench/bench_SongSeek
#include "Media/MediaSongPlayback.h"
#include "Rewards/RewardSongPlayer.h"
#include "TestServer.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QEventLoop>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int firstPlays = 9;
constexpr int seeks = 15;
// A seek counts once the playback has moved past the target by no more than this.
constexpr qint64 seekWindowMs = 1'000;

TestServer* server = nullptr;
QString songUrl;

const QByteArray notes = R"(# Cellular respiration

Mitochondria are the organelles where cellular respiration releases energy from glucose. ATP is the
molecule that carries that energy to the rest of the cell. Glycolysis is the first stage, which
splits glucose in the cytoplasm. The Krebs cycle follows in the mitochondrial matrix, and the
electron transport chain makes most of the ATP.
)";

std::unique_ptr<RewardSongPlayer> newPlayer() {
    // No session bus: the desktop's media controls are not what is measured.
    auto player = std::make_unique<RewardSongPlayer>([] { return std::make_unique<MediaSongPlayback>(); },
                                                     QDBusConnection(QString()));
    player->setTitle(QStringLiteral("Cellular respiration"));
    player->setSource(songUrl);
    return player;
}

// Runs the event loop until `done` holds after one of the player's announcements (or the
// timeout); answers when it first held, or nothing.
std::optional<Clock::time_point> runUntil(RewardSongPlayer& player, const std::function<bool()>& done,
                                          std::chrono::milliseconds timeout = 20s) {
    if (done())
        return Clock::now();
    std::optional<Clock::time_point> at;
    QEventLoop loop;
    const auto check = [&] {
        if (!at && done()) {
            at = Clock::now();
            loop.quit();
        }
    };
    for (auto signal : {&RewardSongPlayer::timeChanged, &RewardSongPlayer::playingChanged,
                        &RewardSongPlayer::loadingChanged, &RewardSongPlayer::errorChanged})
        QObject::connect(&player, signal, &loop, check);
    QTimer::singleShot(timeout, &loop, &QEventLoop::quit);
    loop.exec();
    return at;
}

double msBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

void BM_FirstPlay(benchmark::State& state) {
    std::vector<double> downloads;
    for (auto _ : state) {
        auto player = newPlayer();
        const Clock::time_point start = Clock::now();
        player->play();
        const auto handedOver = runUntil(*player, [&] { return player->isPlaying(); });
        const auto moving = runUntil(*player, [&] { return player->isPlaying() && player->position() > 0; });
        if (!handedOver || !moving) {
            state.SkipWithError(player->errorMessage().isEmpty() ? "the song did not start"
                                                                 : qPrintable(player->errorMessage()));
            break;
        }
        state.SetIterationTime(msBetween(start, *moving) / 1000.0);
        state.counters["download_ms"] = msBetween(start, *handedOver);
        state.counters["sound_ms"] = msBetween(start, *moving) - double(player->position());
        player->stop();
    }
}

void BM_SeekToMiddle(benchmark::State& state) {
    auto player = newPlayer();
    player->play();
    if (!runUntil(*player,
                  [&] { return player->isPlaying() && player->duration() > 0 && player->position() > 0; })) {
        state.SkipWithError("the song did not start");
        return;
    }
    const qint64 middle = player->duration() / 2;
    const qint64 early = 5'000;
    int fetches = 0;
    QObject::connect(player.get(), &RewardSongPlayer::loadingChanged, player.get(), [&] {
        if (player->isLoading())
            ++fetches;
    });
    const auto movedPast = [&](qint64 target) {
        return [&player, target] {
            return player->isPlaying() && player->position() > target &&
                   player->position() <= target + seekWindowMs;
        };
    };
    for (auto _ : state) {
        // Back near the start, untimed, so that every seek travels the same way.
        player->beginDrag();
        player->endDrag(early);
        if (!runUntil(*player, movedPast(early))) {
            state.SkipWithError("the seek back to the start was not reported");
            break;
        }
        const Clock::time_point start = Clock::now();
        player->beginDrag();
        player->dragTo(middle);
        player->endDrag(middle);
        const auto there = runUntil(*player, movedPast(middle));
        if (!there) {
            state.SkipWithError("the seek to the middle was not reported");
            break;
        }
        state.SetIterationTime(msBetween(start, *there) / 1000.0);
        state.counters["sound_ms"] = msBetween(start, *there) - double(player->position() - middle);
    }
    state.counters["downloads"] = fetches;
    state.counters["song_ms"] = double(player->duration());
    player->stop();
}

bool setUp() {
    if (!server->start())
        return false;
    server->trustCertificate();
    const TestServer::Device device = server->signUp("listener@example.com", "la-la-la-la-1");
    const QString token = server->sessionToken(device);
    if (server
            ->send("POST", "/__control/credits",
                   QJsonDocument(QJsonObject{{"email", "listener@example.com"}, {"amount", 150}}).toJson(),
                   {{"Content-Type", "application/json"}})
            .status != 200)
        return false;
    const QString reward = server
                               ->api("POST", "/api/gamification/rewards/purchase", token,
                                     {{"user_id", device.userId}, {"reward_id", "study_song"}})
                               .json()["user_reward_id"]
                               .toString();
    const QString course = server->addCourse(token, "BIO 110");
    const QString document = server->uploadDocument(token, notes, "respiration.txt", "text/plain", course);
    if (reward.isEmpty() || document.isEmpty())
        return false;
    server->waitForProcessing(document, token);
    const QString job = server
                            ->api("POST", "/api/gamification/rewards/use/song-from-notes", token,
                                  {{"user_id", device.userId},
                                   {"user_reward_id", reward},
                                   {"document_id", document},
                                   {"genre", "lo-fi"}})
                            .json()["job_id"]
                            .toString();
    if (job.isEmpty())
        return false;
    // Composing can outlast one round of polls in a sanitized build.
    QJsonObject record;
    for (int round = 0; round < 20; ++round) {
        record = server->waitForJob(job, token);
        if (record.value("status").toString() != "queued" &&
            record.value("status").toString() != "processing")
            break;
    }
    songUrl = record.value("result").toObject().value("audio_url").toString();
    if (songUrl.isEmpty())
        return false;
    const TestServer::Reply audio = server->send("GET", songUrl);
    qInfo("the song: %lld bytes of %s", qint64(audio.body.size()), audio.header("content-type").constData());
    return audio.status == 200;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    TestServer instance;
    server = &instance;
    if (!setUp()) {
        qCritical("the server or its study song could not be set up");
        return 1;
    }
    benchmark::RegisterBenchmark("BM_FirstPlay", BM_FirstPlay)
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(firstPlays)
        ->ReportAggregatesOnly();
    benchmark::RegisterBenchmark("BM_SeekToMiddle", BM_SeekToMiddle)
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(seeks)
        ->ReportAggregatesOnly();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
