#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "APIClient.h"
#include "Clock.h"
#include "Media/NarrationQueue.h"
#include "Media/NowPlayingSession.h"
#include "Media/PlaybackSpeed.h"
#include "Speech/DocumentNarration.h"
#include "Speech/SpeechAPI.h"
#include "TaskScope.h"

#include <QVariantList>
#include <QtQml/qqmlregistration.h>

#include <chrono>
#include <memory>

// A whole document read aloud by the backend's voice: asks for the narration, follows its job,
// and plays the segments in order as one gapless stream at the chosen speed, shown on the
// desktop's media controls while it plays.
class DocumentNarrationPlayer : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString documentId READ documentId WRITE setDocumentId NOTIFY documentIdChanged)
    Q_PROPERTY(QString documentTitle READ documentTitle WRITE setDocumentTitle NOTIFY documentTitleChanged)
    Q_PROPERTY(Phase phase READ phase NOTIFY phaseChanged)
    // The phase's name ("loading", "playing", …) for the screen.
    Q_PROPERTY(QString phaseName READ phaseName NOTIFY phaseChanged)
    Q_PROPERTY(QString failureMessage READ failureMessage NOTIFY phaseChanged)
    Q_PROPERTY(int currentIndex READ currentIndex NOTIFY currentIndexChanged)
    Q_PROPERTY(int totalSegments READ totalSegments NOTIFY totalSegmentsChanged)
    Q_PROPERTY(QString provider READ provider NOTIFY providerChanged)
    Q_PROPERTY(double itemProgress READ itemProgress NOTIFY itemProgressChanged)
    Q_PROPERTY(int speedIndex READ speedIndex WRITE setSpeedIndex NOTIFY speedChanged)
    Q_PROPERTY(QString speedLabel READ speedLabel NOTIFY speedChanged)
    Q_PROPERTY(QVariantList speeds READ speeds CONSTANT)
public:
    enum class Phase { loading, playing, paused, finished, failed };
    Q_ENUM(Phase)

    static constexpr std::chrono::milliseconds pollInterval{2'000};
    static constexpr int maxJobFetches = 90;
    static constexpr std::chrono::milliseconds progressInterval{250};

    // The app's backend client, its audio output and the session bus.
    explicit DocumentNarrationPlayer(QObject* parent = nullptr);
    // The chosen speed is kept in `preferences`.
    DocumentNarrationPlayer(APIClient client, PreferencesStore& preferences,
                            std::unique_ptr<NarrationQueue> queue, QDBusConnection bus,
                            QObject* parent = nullptr);
    ~DocumentNarrationPlayer() override;

    const QString& documentId() const { return documentId_; }
    void setDocumentId(const QString& id);
    const QString& documentTitle() const { return documentTitle_; }
    void setDocumentTitle(const QString& title);
    Phase phase() const { return phase_; }
    QString phaseName() const;
    const QString& failureMessage() const { return failureMessage_; }
    int currentIndex() const { return currentIndex_; }
    int totalSegments() const { return int(segmentURLs_.size()); }
    const QString& provider() const { return provider_; }
    double itemProgress() const { return itemProgress_; }
    PlaybackSpeed speed() const { return speed_; }
    int speedIndex() const { return speed_.value(); }
    void setSpeedIndex(int index);
    QString speedLabel() const { return speed_.label(); }
    static QVariantList speeds() { return PlaybackSpeed::menuEntries(); }

    Q_INVOKABLE void load();
    Q_INVOKABLE void play();
    Q_INVOKABLE void pause();
    Q_INVOKABLE void togglePlayPause();
    Q_INVOKABLE void replay();
    Q_INVOKABLE void next();
    Q_INVOKABLE void previous();
    void setSpeed(PlaybackSpeed speed);
    // Tears down: stops playback, leaves the desktop's media controls and cancels the load.
    Q_INVOKABLE void stop();

    // The playlist's segment addresses in index order, relative ones resolved against `base`;
    // those that form no URL are left out.
    static QList<QUrl> segmentURLs(const DocumentNarration& narration, const QUrl& base);

Q_SIGNALS:
    void documentIdChanged();
    void documentTitleChanged();
    void phaseChanged();
    void currentIndexChanged();
    void totalSegmentsChanged();
    void providerChanged();
    void itemProgressChanged();
    void speedChanged();

private:
    static async::Task<DocumentNarration> fetchNarration(SpeechAPI speech, QString documentId);
    void begin(const DocumentNarration& narration);
    void playFrom(int index);
    void itemEnded(int index);
    void fail(const QString& message, const QString& reason);
    void setPhase(Phase phase);
    void setCurrentIndex(int index);
    void setItemProgress(double progress);
    void scheduleProgress();
    void publishNowPlaying();

    APIClient client_;
    std::unique_ptr<NarrationQueue> queue_;
    NowPlayingSession nowPlaying_;
    QString documentId_;
    QString documentTitle_;
    Phase phase_ = Phase::loading;
    QString failureMessage_;
    int currentIndex_ = 0;
    QList<QUrl> segmentURLs_;
    QString provider_;
    double itemProgress_ = 0;
    PreferencesStore& preferences_;
    PlaybackSpeed speed_;
    async::Clock::TimerId progressTimer_ = 0;
    async::TaskScope::TaskId loadTask_ = 0;
    async::TaskScope tasks_; // last: tasks end before what they use
};
