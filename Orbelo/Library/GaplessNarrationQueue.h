#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "NarrationQueue.h"
#include "TaskScope.h"

#include <QAudioOutput>
#include <QBuffer>
#include <QMediaPlayer>

#include <array>
#include <memory>

// Two media players taking turns: while one plays a segment, the other holds the next one loaded
// and prerolled, and starts the moment the first reaches its end. The audio is fetched through the
// app's own network stack, so it is sent with the same TLS trust as every backend call.
class GaplessNarrationQueue final : public NarrationQueue {
    Q_OBJECT
public:
    explicit GaplessNarrationQueue(QObject* parent = nullptr);
    ~GaplessNarrationQueue() override;

    void start(const QList<QUrl>& segments, int first, double rate) override;
    void pause() override;
    void resume() override;
    void setRate(double rate) override;
    void clear() override;
    double itemProgress() const override;

private:
    struct Deck {
        QMediaPlayer player;
        QAudioOutput output;
        QBuffer audio;
        int index = -1;
        bool loaded = false;
        async::TaskScope::TaskId fetch = 0;
    };

    static async::Task<QByteArray> fetch(QUrl url);
    void load(Deck& deck, int index);
    void unload(Deck& deck);
    void followStatus(Deck& deck, QMediaPlayer::MediaStatus status);
    void playIfDue(Deck& deck);
    Deck& active() { return *decks_[active_]; }
    const Deck& active() const { return *decks_[active_]; }
    Deck& standby() { return *decks_[1 - active_]; }

    std::array<std::unique_ptr<Deck>, 2> decks_;
    int active_ = 0;
    QList<QUrl> segments_;
    double rate_ = 1.0;
    bool paused_ = false;
    async::TaskScope tasks_; // last: tasks end before what they use
};
