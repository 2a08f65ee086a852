#include "GaplessNarrationQueue.h"

#include "HttpTransfer.h"

#include <algorithm>
#include <stdexcept>

GaplessNarrationQueue::GaplessNarrationQueue(QObject* parent) : NarrationQueue(parent) {
    for (auto& slot : decks_) {
        slot = std::make_unique<Deck>();
        Deck& deck = *slot;
        deck.player.setAudioOutput(&deck.output);
        connect(&deck.player, &QMediaPlayer::mediaStatusChanged, this,
                [this, &deck](QMediaPlayer::MediaStatus status) { followStatus(deck, status); });
        connect(&deck.player, &QMediaPlayer::errorOccurred, this,
                [this, &deck](QMediaPlayer::Error, const QString& reason) {
                    if (deck.index >= 0)
                        Q_EMIT failed(reason);
                });
    }
}

GaplessNarrationQueue::~GaplessNarrationQueue() {
    tasks_.cancelAll();
    for (auto& deck : decks_)
        deck->player.disconnect(this);
}

void GaplessNarrationQueue::start(const QList<QUrl>& segments, int first, double rate) {
    clear();
    segments_ = segments;
    rate_ = rate;
    paused_ = false;
    load(active(), first);
    load(standby(), first + 1);
}

void GaplessNarrationQueue::pause() {
    paused_ = true;
    active().player.pause();
}

void GaplessNarrationQueue::resume() {
    paused_ = false;
    playIfDue(active());
}

void GaplessNarrationQueue::setRate(double rate) {
    rate_ = rate;
    for (auto& deck : decks_)
        deck->player.setPlaybackRate(rate);
}

void GaplessNarrationQueue::clear() {
    for (auto& deck : decks_)
        unload(*deck);
    segments_.clear();
}

double GaplessNarrationQueue::itemProgress() const {
    const qint64 duration = active().player.duration();
    if (duration <= 0)
        return 0;
    return std::clamp(double(active().player.position()) / double(duration), 0.0, 1.0);
}

async::Task<QByteArray> GaplessNarrationQueue::fetch(QUrl url) {
    HttpRequest request;
    request.url = std::move(url);
    const HttpResponse response = co_await HttpTransfer::send(std::move(request));
    if (response.status < 200 || response.status > 299)
        throw std::runtime_error("audio answered HTTP " + std::to_string(response.status));
    co_return response.body;
}

void GaplessNarrationQueue::load(Deck& deck, int index) {
    unload(deck);
    if (index < 0 || index >= segments_.size())
        return;
    deck.index = index;
    const QUrl url = segments_[index];
    deck.fetch = tasks_.spawn(
        fetch(url),
        [&deck, url](QByteArray bytes) {
            deck.fetch = 0;
            deck.audio.setData(bytes);
            deck.audio.open(QIODevice::ReadOnly);
            deck.player.setSourceDevice(&deck.audio, url);
        },
        [this, &deck](std::exception_ptr error) {
            deck.fetch = 0;
            try {
                std::rethrow_exception(error);
            } catch (const std::exception& e) {
                Q_EMIT failed(QString::fromUtf8(e.what()));
            }
        });
}

void GaplessNarrationQueue::unload(Deck& deck) {
    if (deck.fetch)
        tasks_.cancel(deck.fetch);
    deck.fetch = 0;
    deck.index = -1;
    deck.loaded = false;
    deck.player.stop();
    deck.player.setSourceDevice(nullptr);
    deck.audio.close();
    deck.audio.setData(QByteArray());
}

void GaplessNarrationQueue::followStatus(Deck& deck, QMediaPlayer::MediaStatus status) {
    if (deck.index < 0)
        return;
    if (status == QMediaPlayer::LoadedMedia && !deck.loaded) {
        deck.loaded = true;
        deck.player.setPlaybackRate(rate_);
        if (&deck == &active())
            playIfDue(deck);
        else
            deck.player.pause(); // prerolls the first buffers so the switch starts at once
        return;
    }
    if (status != QMediaPlayer::EndOfMedia || &deck != &active())
        return;
    const int ended = deck.index;
    active_ = 1 - active_;
    playIfDue(active());
    load(deck, ended + 2);
    Q_EMIT itemEnded(ended);
}

void GaplessNarrationQueue::playIfDue(Deck& deck) {
    if (paused_ || !deck.loaded)
        return;
    deck.player.setPlaybackRate(rate_);
    deck.player.play();
}
