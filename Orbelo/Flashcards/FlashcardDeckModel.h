#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "APIClient.h"
#include "Courses/CourseSummary.h"
#include "Flashcards/FlashcardReviewSession.h"
#include "Flashcards/FlashcardWalk.h"
#include "TaskScope.h"

#include <QVariantList>
#include <QtQml/qqmlregistration.h>

class PreferencesStore;

// The Cards tab: choosing a deck (due cards, a course's cards, or its vocabulary), having a
// course's vocabulary or synonyms generated, and studying the deck in a review session or a
// notecard walk. The screen is in setup until start() and returns to it on exit() or back().
class FlashcardDeckModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QVariantList modes READ modes CONSTANT)
    Q_PROPERTY(int mode READ mode WRITE setMode NOTIFY modeChanged)
    Q_PROPERTY(QString modeDescription READ modeDescription NOTIFY modeChanged)
    Q_PROPERTY(QVariantList courses READ courses NOTIFY coursesChanged)
    Q_PROPERTY(QString selectedCourseId READ selectedCourseId WRITE selectCourse NOTIFY selectedCourseChanged)
    Q_PROPERTY(bool needsCourse READ needsCourse NOTIFY modeChanged)
    Q_PROPERTY(Phase phase READ phase NOTIFY phaseChanged)
    Q_PROPERTY(bool isLoading READ isLoading NOTIFY isLoadingChanged)
    Q_PROPERTY(bool isGenerating READ isGenerating NOTIFY isGeneratingChanged)
    Q_PROPERTY(QString generateLabel READ generateLabel NOTIFY isGeneratingChanged)
    Q_PROPERTY(bool isGeneratingSynonyms READ isGeneratingSynonyms NOTIFY isGeneratingSynonymsChanged)
    Q_PROPERTY(QString synonymsLabel READ synonymsLabel NOTIFY isGeneratingSynonymsChanged)
    Q_PROPERTY(QString synonymsError READ synonymsError NOTIFY synonymsErrorChanged)
    Q_PROPERTY(QString statusText READ statusText NOTIFY statusTextChanged)
    Q_PROPERTY(QString noticeText READ noticeText NOTIFY noticeTextChanged)
    Q_PROPERTY(QString deckTitle READ deckTitle NOTIFY deckChanged)
    Q_PROPERTY(int cardCount READ cardCount NOTIFY deckChanged)
    Q_PROPERTY(bool canStart READ canStart NOTIFY deckChanged)
    Q_PROPERTY(FlashcardReviewSession* session READ session CONSTANT)
    Q_PROPERTY(FlashcardWalk* walk READ walk CONSTANT)
public:
    // In the order of the picker.
    enum class Mode { dueSoon, byCourse, vocabulary };
    Q_ENUM(Mode)
    // Capitalised for QML.
    enum class Phase { Setup, Review, Walk, Complete };
    Q_ENUM(Phase)

    // The app's backend client and preferences.
    explicit FlashcardDeckModel(QObject* parent = nullptr);
    FlashcardDeckModel(APIClient client, PreferencesStore& preferences, QObject* parent = nullptr);

    // {label, description} per mode.
    static QVariantList modes();
    int mode() const { return int(mode_); }
    void setMode(int mode);
    QString modeDescription() const;
    // {id, label} per course.
    QVariantList courses() const;
    QString selectedCourseId() const { return selectedCourseId_; }
    void selectCourse(const QString& courseId);
    bool needsCourse() const { return mode_ != Mode::dueSoon; }
    Phase phase() const { return phase_; }
    bool isLoading() const { return isLoading_; }
    bool isGenerating() const { return isGenerating_; }
    QString generateLabel() const;
    bool isGeneratingSynonyms() const { return isGeneratingSynonyms_; }
    QString synonymsLabel() const;
    QString synonymsError() const { return synonymsError_; }
    QString statusText() const { return statusText_; }
    QString noticeText() const { return noticeText_; }
    QString deckTitle() const { return deckTitle_; }
    int cardCount() const { return int(deck_.size()); }
    bool canStart() const { return phase_ == Phase::Setup && !isLoading_ && !deck_.isEmpty(); }
    FlashcardReviewSession* session() { return &session_; }
    FlashcardWalk* walk() { return &walk_; }

    // The courses, then the deck.
    Q_INVOKABLE void load();
    // The deck again, as after an import.
    Q_INVOKABLE void reload();
    Q_INVOKABLE void start();
    // Leaves the session or the walk for the setup.
    Q_INVOKABLE void exit();
    // From the deck-complete view.
    Q_INVOKABLE void back();
    Q_INVOKABLE void generateVocabulary();
    Q_INVOKABLE void generateSynonyms();
    // An import added `count` cards to `courseId` (empty when it named none): say so, and show
    // that course's cards.
    Q_INVOKABLE void importFinished(int count, const QString& courseId = {});

Q_SIGNALS:
    void modeChanged();
    void coursesChanged();
    void selectedCourseChanged();
    void phaseChanged();
    void isLoadingChanged();
    void isGeneratingChanged();
    void isGeneratingSynonymsChanged();
    void synonymsErrorChanged();
    void statusTextChanged();
    void noticeTextChanged();
    void deckChanged();
    // The "Load notecards" button: the notecard import for the selected course.
    void importRequested();

private:
    struct Deck;
    static async::Task<void> loadCourses(FlashcardDeckModel* self);
    static async::Task<Deck> fetchDeck(APIClient client, Mode mode, CourseSummary course);
    static async::Task<void> runGeneration(FlashcardDeckModel* self, QString courseId, QString noun);
    static async::Task<void> followGeneration(FlashcardDeckModel* self, QString courseId, QString jobId);
    static async::Task<void> runSynonyms(FlashcardDeckModel* self, QString courseId);
    void loadDeck(bool generateWhenEmpty = true);
    void showDeck(const Deck& deck, bool generateWhenEmpty);
    void startGeneration(const QString& noun);
    std::optional<CourseSummary> selectedCourse() const;
    void setPhase(Phase phase);
    void setLoading(bool loading);
    void setGenerating(bool generating);
    void setGeneratingSynonyms(bool generating);
    void setSynonymsError(const QString& message);
    void setStatusText(const QString& text);
    void setNoticeText(const QString& text);

    APIClient client_;
    Mode mode_ = Mode::dueSoon;
    QList<CourseSummary> courses_;
    QString selectedCourseId_;
    Phase phase_ = Phase::Setup;
    bool isLoading_ = false;
    bool isGenerating_ = false;
    bool isGeneratingSynonyms_ = false;
    QString synonymsError_;
    QString statusText_;
    QString noticeText_;
    QString deckTitle_;
    QList<Flashcard> deck_;
    FlashcardReviewSession session_;
    FlashcardWalk walk_;
    async::TaskScope::TaskId deckTask_ = 0;
    async::TaskScope tasks_; // last: tasks end before what they use
};
