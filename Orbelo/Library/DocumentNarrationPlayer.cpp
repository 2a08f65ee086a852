#include "Library/DocumentNarrationPlayer.h"

#include "Auth/AuthSession.h"
#include "Library/NarrationJobError.h"
#include "Library/NarrationMessage.h"
#include "Logging.h"
#include "Media/PcmNarrationQueue.h"

#include <QMetaEnum>

#include <algorithm>

DocumentNarrationPlayer::DocumentNarrationPlayer(QObject* parent)
    : DocumentNarrationPlayer(AuthSession::makeAPIClient(), PreferencesStore::standard(),
                              std::make_unique<PcmNarrationQueue>(), QDBusConnection::sessionBus(), parent) {}

DocumentNarrationPlayer::DocumentNarrationPlayer(APIClient client, PreferencesStore& preferences,
                                                 std::unique_ptr<NarrationQueue> queue, QDBusConnection bus,
                                                 QObject* parent)
    : QObject(parent), client_(std::move(client)), queue_(std::move(queue)), nowPlaying_(bus),
      preferences_(preferences), speed_(PlaybackSpeed::stored(preferences)) {
    connect(queue_.get(), &NarrationQueue::itemEnded, this, &DocumentNarrationPlayer::itemEnded);
    connect(queue_.get(), &NarrationQueue::failed, this, [this](const QString& reason) {
        fail(NarrationMessage::forError(std::make_exception_ptr(std::runtime_error(reason.toStdString()))),
             reason);
    });
    connect(&nowPlaying_, &NowPlayingSession::playRequested, this, &DocumentNarrationPlayer::play);
    connect(&nowPlaying_, &NowPlayingSession::pauseRequested, this, &DocumentNarrationPlayer::pause);
    connect(&nowPlaying_, &NowPlayingSession::playPauseRequested, this,
            &DocumentNarrationPlayer::togglePlayPause);
    connect(&nowPlaying_, &NowPlayingSession::nextRequested, this, &DocumentNarrationPlayer::next);
    connect(&nowPlaying_, &NowPlayingSession::previousRequested, this, &DocumentNarrationPlayer::previous);
    connect(&nowPlaying_, &NowPlayingSession::stopRequested, this, &DocumentNarrationPlayer::pause);
}

DocumentNarrationPlayer::~DocumentNarrationPlayer() {
    stop();
}

QString DocumentNarrationPlayer::phaseName() const {
    return QString::fromLatin1(QMetaEnum::fromType<Phase>().valueToKey(int(phase_)));
}

void DocumentNarrationPlayer::setDocumentId(const QString& id) {
    if (id == documentId_)
        return;
    documentId_ = id;
    Q_EMIT documentIdChanged();
}

void DocumentNarrationPlayer::setDocumentTitle(const QString& title) {
    if (title == documentTitle_)
        return;
    documentTitle_ = title;
    Q_EMIT documentTitleChanged();
    if (nowPlaying_.isPublished())
        publishNowPlaying();
}

void DocumentNarrationPlayer::load() {
    stop();
    failureMessage_.clear();
    setPhase(Phase::loading);
    setCurrentIndex(0);
    setItemProgress(0);
    loadTask_ = tasks_.spawn(
        fetchNarration(SpeechAPI(client_), documentId_),
        [this](DocumentNarration narration) {
            loadTask_ = 0;
            begin(narration);
        },
        [this](std::exception_ptr error) {
            loadTask_ = 0;
            QString reason;
            try {
                std::rethrow_exception(error);
            } catch (const std::exception& e) {
                reason = QString::fromUtf8(e.what());
            }
            fail(NarrationMessage::forError(error), reason);
        });
}

async::Task<DocumentNarration> DocumentNarrationPlayer::fetchNarration(SpeechAPI speech, QString documentId) {
    const DocumentNarrationRequest request;
    const DocumentNarrationSubmitResponse submission = co_await speech.narrateDocument(documentId, request);
    if (submission.playlist)
        co_return *submission.playlist;
    if (!submission.jobId)
        throw NarrationJobError::malformed();
    for (int fetch = 1;; ++fetch) {
        const DocumentNarrationJobResponse job = co_await speech.narrationJob(*submission.jobId);
        if (job.status == QLatin1String("complete")) {
            if (!job.result)
                throw NarrationJobError::malformed();
            co_return *job.result;
        }
        if (job.status == QLatin1String("failed"))
            throw NarrationJobError::failed(job.error);
        if (fetch == maxJobFetches)
            throw NarrationJobError::timedOut();
        co_await async::Clock::current().sleep(pollInterval);
    }
}

QList<QUrl> DocumentNarrationPlayer::segmentURLs(const DocumentNarration& narration, const QUrl& base) {
    QList<NarrationSegment> segments = narration.segments;
    std::stable_sort(segments.begin(), segments.end(),
                     [](const NarrationSegment& a, const NarrationSegment& b) { return a.index < b.index; });
    QList<QUrl> urls;
    for (const NarrationSegment& segment : segments) {
        const QUrl url = base.resolved(QUrl(segment.url, QUrl::StrictMode));
        if (url.isValid() && !url.host().isEmpty())
            urls.append(url);
    }
    return urls;
}

void DocumentNarrationPlayer::begin(const DocumentNarration& narration) {
    segmentURLs_ = segmentURLs(narration, client_.baseURL());
    if (segmentURLs_.isEmpty()) {
        fail(NarrationMessage::emptyPlaylist, QStringLiteral("the playlist has no playable segment"));
        return;
    }
    Q_EMIT totalSegmentsChanged();
    if (narration.provider != provider_) {
        provider_ = narration.provider;
        Q_EMIT providerChanged();
    }
    playFrom(0);
}

void DocumentNarrationPlayer::playFrom(int index) {
    setCurrentIndex(index);
    setItemProgress(0);
    queue_->start(segmentURLs_, index, speed_.rate());
    setPhase(Phase::playing);
    scheduleProgress();
}

void DocumentNarrationPlayer::play() {
    if (phase_ != Phase::paused)
        return;
    queue_->setRate(speed_.rate());
    queue_->resume();
    setPhase(Phase::playing);
}

void DocumentNarrationPlayer::pause() {
    if (phase_ != Phase::playing)
        return;
    queue_->pause();
    setPhase(Phase::paused);
}

void DocumentNarrationPlayer::togglePlayPause() {
    if (phase_ == Phase::playing)
        pause();
    else if (phase_ == Phase::paused)
        play();
    else if (phase_ == Phase::finished)
        replay();
}

void DocumentNarrationPlayer::replay() {
    if (segmentURLs_.isEmpty())
        return;
    playFrom(0);
}

void DocumentNarrationPlayer::next() {
    if ((phase_ == Phase::playing || phase_ == Phase::paused) && currentIndex_ + 1 < totalSegments())
        playFrom(currentIndex_ + 1);
}

void DocumentNarrationPlayer::previous() {
    if (phase_ == Phase::playing || phase_ == Phase::paused || phase_ == Phase::finished)
        playFrom(phase_ == Phase::finished ? totalSegments() - 1 : std::max(currentIndex_ - 1, 0));
}

void DocumentNarrationPlayer::setSpeedIndex(int index) {
    if (index >= 0 && index < int(PlaybackSpeed::all.size()))
        setSpeed(PlaybackSpeed::all[index]);
}

void DocumentNarrationPlayer::setSpeed(PlaybackSpeed speed) {
    speed.store(preferences_);
    if (phase_ == Phase::playing)
        queue_->setRate(speed.rate());
    if (speed == speed_)
        return;
    speed_ = speed;
    Q_EMIT speedChanged();
}

void DocumentNarrationPlayer::stop() {
    if (loadTask_)
        tasks_.cancel(loadTask_);
    loadTask_ = 0;
    if (progressTimer_)
        async::Clock::current().cancel(progressTimer_);
    progressTimer_ = 0;
    queue_->clear();
    nowPlaying_.withdraw();
    if (!segmentURLs_.isEmpty()) {
        segmentURLs_.clear();
        Q_EMIT totalSegmentsChanged();
    }
}

void DocumentNarrationPlayer::itemEnded(int index) {
    if (index + 1 < totalSegments()) {
        setCurrentIndex(index + 1);
        setItemProgress(0);
        return;
    }
    setItemProgress(1);
    setPhase(Phase::finished);
}

void DocumentNarrationPlayer::fail(const QString& message, const QString& reason) {
    qCWarning(lcDocNarration, "narration failed: %s", qUtf8Printable(reason));
    stop();
    failureMessage_ = message;
    if (phase_ == Phase::failed)
        Q_EMIT phaseChanged();
    else
        setPhase(Phase::failed);
}

void DocumentNarrationPlayer::setPhase(Phase phase) {
    if (phase == phase_)
        return;
    phase_ = phase;
    Q_EMIT phaseChanged();
    if (phase_ != Phase::loading && phase_ != Phase::failed)
        publishNowPlaying();
}

void DocumentNarrationPlayer::setCurrentIndex(int index) {
    if (index == currentIndex_)
        return;
    currentIndex_ = index;
    Q_EMIT currentIndexChanged();
    if (nowPlaying_.isPublished())
        publishNowPlaying();
}

void DocumentNarrationPlayer::setItemProgress(double progress) {
    if (progress == itemProgress_)
        return;
    itemProgress_ = progress;
    Q_EMIT itemProgressChanged();
}

void DocumentNarrationPlayer::scheduleProgress() {
    if (progressTimer_)
        return;
    progressTimer_ = async::Clock::current().schedule(progressInterval, [this] {
        progressTimer_ = 0;
        if (phase_ == Phase::playing)
            setItemProgress(queue_->itemProgress());
        scheduleProgress();
    });
}

void DocumentNarrationPlayer::publishNowPlaying() {
    const QString segment = QStringLiteral("Segment %1 of %2").arg(currentIndex_ + 1).arg(totalSegments());
    NowPlayingSession::Status status = NowPlayingSession::Status::stopped;
    if (phase_ == Phase::playing)
        status = NowPlayingSession::Status::playing;
    else if (phase_ == Phase::paused)
        status = NowPlayingSession::Status::paused;
    nowPlaying_.publish(documentTitle_, segment, status);
}
