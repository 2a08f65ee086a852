#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "APIClient.h"
#include "Courses/CourseSummary.h"
#include "Documents/DocumentItem.h"
#include "Gamification/SongGenerationResult.h"
#include "Gamification/UseSongRewardRequest.h"
#include "TaskScope.h"

#include <QVariantList>
#include <QtQml/qqmlregistration.h>

#include <functional>
#include <optional>

// "Create Study Song": spends a song reward on a song made from one of the user's documents (or
// one the backend picks) in a chosen genre, around optional key ideas. The sheet only starts the
// job; the finished track shows up under My Rewards.
class SongGenerationModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QVariantList courses READ courses NOTIFY libraryChanged)
    Q_PROPERTY(QString courseId READ courseId WRITE setCourseId NOTIFY selectionChanged)
    Q_PROPERTY(QVariantList documents READ documents NOTIFY selectionChanged)
    Q_PROPERTY(QString documentId READ documentId WRITE setDocumentId NOTIFY selectionChanged)
    Q_PROPERTY(QString documentsMessage READ documentsMessage NOTIFY selectionChanged)
    Q_PROPERTY(QVariantList genres READ genres CONSTANT)
    Q_PROPERTY(QString genre READ genre WRITE setGenre NOTIFY inputChanged)
    Q_PROPERTY(QString keyIdeas READ keyIdeas WRITE setKeyIdeas NOTIFY inputChanged)
    Q_PROPERTY(bool isLoading READ isLoading NOTIFY stateChanged)
    Q_PROPERTY(bool isGenerating READ isGenerating NOTIFY stateChanged)
    Q_PROPERTY(QString generateLabel READ generateLabel NOTIFY stateChanged)
    Q_PROPERTY(bool canGenerate READ canGenerate NOTIFY stateChanged)
    Q_PROPERTY(bool succeeded READ succeeded NOTIFY stateChanged)
    Q_PROPERTY(QString lyrics READ lyrics NOTIFY stateChanged)
    Q_PROPERTY(QVariantList lyricsLines READ lyricsLines NOTIFY stateChanged)
    Q_PROPERTY(QString lyricsSpoken READ lyricsSpoken NOTIFY stateChanged)
    Q_PROPERTY(QString errorMessage READ errorMessage NOTIFY stateChanged)
public:
    using UserIdSource = std::function<std::optional<QString>()>;

    explicit SongGenerationModel(QObject* parent = nullptr);
    SongGenerationModel(APIClient client, UserIdSource userId, QObject* parent = nullptr);

    // {id, label}: "All courses" (id "") first, then each course.
    QVariantList courses() const;
    const QString& courseId() const { return courseId_; }
    void setCourseId(const QString& courseId);
    // {id, label}: "Any (auto-select)" (id "") first, then the documents of the chosen course.
    QVariantList documents() const;
    const QString& documentId() const { return documentId_; }
    void setDocumentId(const QString& documentId);
    // Why the document list is empty or still coming; empty when there is something to pick.
    QString documentsMessage() const;
    // {label, value} in menu order; value is what `genre` carries.
    static QVariantList genres();
    const QString& genre() const { return genre_; }
    void setGenre(const QString& genre);
    const QString& keyIdeas() const { return keyIdeas_; }
    void setKeyIdeas(const QString& keyIdeas);
    bool isLoading() const { return loading_ != 0; }
    bool isGenerating() const { return generating_ != 0; }
    QString generateLabel() const;
    bool canGenerate() const;
    bool succeeded() const { return result_.has_value(); }
    QString lyrics() const { return result_ ? result_->lyrics.value_or(QString()) : QString(); }
    QVariantList lyricsLines() const;
    QString lyricsSpoken() const;
    const QString& errorMessage() const { return errorMessage_; }

    // What "Generate Song" sends: no `documentId` for the automatic choice, no `courseId` for all
    // courses, no `style` when the key ideas are blank.
    static UseSongRewardRequest request(const QString& userId, const QString& userRewardId,
                                        const QString& documentId, const QString& courseId,
                                        const QString& genre, const QString& keyIdeas);

    // The sheet opens for `userRewardId`: forgets the last result and loads the documents.
    Q_INVOKABLE void begin(const QString& userRewardId);
    Q_INVOKABLE void generate();
    // The sheet closes: stops loading and generating.
    Q_INVOKABLE void cancel();

Q_SIGNALS:
    void libraryChanged();
    void selectionChanged();
    void inputChanged();
    void stateChanged();

private:
    struct Library {
        QList<CourseSummary> courses;
        QList<DocumentItem> documents;
    };
    static async::Task<Library> fetchLibrary(APIClient client);
    static async::Task<SongGenerationResult> makeSong(APIClient client, UseSongRewardRequest request);
    bool passesFilter(const DocumentItem& document) const;

    APIClient client_;
    UserIdSource userId_;
    QString userRewardId_;
    QList<CourseSummary> courses_;
    QList<DocumentItem> documents_;
    bool loaded_ = false;
    QString courseId_;
    QString documentId_;
    QString genre_;
    QString keyIdeas_;
    std::optional<SongGenerationResult> result_;
    QString errorMessage_;
    async::TaskScope::TaskId loading_ = 0;
    async::TaskScope::TaskId generating_ = 0;
    async::TaskScope tasks_; // last: tasks end before what they use
};
