#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "APIClient.h"
#include "Courses/CourseSummary.h"
#include "Documents/DocumentItem.h"
#include "Mnemonics/MnemonicGenerationRequest.h"
#include "Mnemonics/MnemonicResponse.h"
#include "TaskScope.h"

#include <QVariantList>
#include <QtQml/qqmlregistration.h>

#include <optional>

// "Create mnemonic": the user's documents (narrowed by course, or "All courses"), a mnemonic type,
// a difficulty and optional key ideas go to the backend, which answers at once or through a queued
// job. The result is shown until "Try another"; a failure keeps every input. begin() preselects
// the document or course the sheet was opened from.
class MnemonicGenerationModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QVariantList courses READ courses NOTIFY documentsChanged)
    Q_PROPERTY(QString courseId READ courseId WRITE setCourseId NOTIFY selectionChanged)
    Q_PROPERTY(QVariantList documents READ documents NOTIFY selectionChanged)
    Q_PROPERTY(QString documentId READ documentId WRITE setDocumentId NOTIFY selectionChanged)
    Q_PROPERTY(QString documentTitle READ documentTitle NOTIFY selectionChanged)
    Q_PROPERTY(QVariantList types READ types CONSTANT)
    Q_PROPERTY(QString mnemonicType READ mnemonicType WRITE setMnemonicType NOTIFY inputChanged)
    Q_PROPERTY(QVariantList difficulties READ difficulties CONSTANT)
    Q_PROPERTY(QString difficulty READ difficulty WRITE setDifficulty NOTIFY inputChanged)
    Q_PROPERTY(QString keyIdeas READ keyIdeas WRITE setKeyIdeas NOTIFY inputChanged)
    Q_PROPERTY(bool isLoading READ isLoading NOTIFY stateChanged)
    Q_PROPERTY(bool isRunning READ isRunning NOTIFY stateChanged)
    Q_PROPERTY(bool canGenerate READ canGenerate NOTIFY stateChanged)
    Q_PROPERTY(QString generateLabel READ generateLabel NOTIFY stateChanged)
    Q_PROPERTY(bool hasResult READ hasResult NOTIFY resultChanged)
    Q_PROPERTY(QString mnemonic READ mnemonic NOTIFY resultChanged)
    Q_PROPERTY(QString explanation READ explanation NOTIFY resultChanged)
    Q_PROPERTY(QString errorMessage READ errorMessage NOTIFY stateChanged)
public:
    static inline const QString readyAnnouncement = QStringLiteral("Your mnemonic is ready.");

    // The app's backend client.
    explicit MnemonicGenerationModel(QObject* parent = nullptr);
    explicit MnemonicGenerationModel(APIClient client, QObject* parent = nullptr);

    // {id, label}: "All courses" (id "") first, then each course.
    QVariantList courses() const;
    QString courseId() const { return courseId_; }
    // An unknown course means all; the selected document stays when it is in the course.
    void setCourseId(const QString& courseId);
    // {id, label} of the documents the course filter lets through.
    QVariantList documents() const;
    QString documentId() const { return documentId_; }
    void setDocumentId(const QString& documentId);
    QString documentTitle() const;
    // {label, value} per type, as sent in `mnemonic_type`.
    static QVariantList types();
    QString mnemonicType() const { return mnemonicType_; }
    void setMnemonicType(const QString& type);
    // {label, value}: easy, medium, hard.
    static QVariantList difficulties();
    QString difficulty() const { return difficulty_; }
    void setDifficulty(const QString& difficulty);
    QString keyIdeas() const { return keyIdeas_; }
    void setKeyIdeas(const QString& keyIdeas);
    bool isLoading() const { return isLoading_; }
    bool isRunning() const { return isRunning_; }
    // A document of the loaded list is selected and nothing is loading or running.
    bool canGenerate() const;
    QString generateLabel() const;
    bool hasResult() const { return result_.has_value(); }
    QString mnemonic() const { return result_ ? result_->mnemonic : QString(); }
    QString explanation() const { return result_ ? result_->explanation.value_or(QString()) : QString(); }
    QString errorMessage() const { return errorMessage_; }

    // The sheet opens: forgets the last result and loads the documents, preselecting the given
    // document or course (either may be empty).
    Q_INVOKABLE void begin(const QString& documentId, const QString& courseId);
    Q_INVOKABLE void load();
    Q_INVOKABLE void generate();
    // Back to the inputs, which are kept.
    Q_INVOKABLE void tryAnother();
    // The sheet closed: a generation on its way is abandoned (the backend may still finish it).
    Q_INVOKABLE void cancel();

Q_SIGNALS:
    void documentsChanged();
    void selectionChanged();
    void inputChanged();
    void stateChanged();
    void resultChanged();
    // A line for assistive technology to read out.
    void announcement(const QString& text);

private:
    static async::Task<void> fetchDocuments(MnemonicGenerationModel* self);
    static async::Task<MnemonicResponse> requestMnemonic(APIClient client, MnemonicGenerationRequest request);
    const DocumentItem* findDocument(const QString& id) const;
    bool passesFilter(const DocumentItem& document) const;
    // Keeps the selection when the filter lets it through, else takes the first document that passes.
    void settleSelection();
    void setLoading(bool loading);
    void setRunning(bool running);
    void setError(const QString& message);
    void setResult(std::optional<MnemonicResponse> result);

    APIClient client_;
    QList<CourseSummary> courses_;
    QList<DocumentItem> allDocuments_;
    QString courseId_;
    QString documentId_;
    QString mnemonicType_ = QStringLiteral("any");
    QString difficulty_ = QStringLiteral("medium");
    QString keyIdeas_;
    bool isLoading_ = false;
    bool isRunning_ = false;
    std::optional<MnemonicResponse> result_;
    QString errorMessage_;
    async::TaskScope::TaskId loadTask_ = 0;
    async::TaskScope::TaskId generateTask_ = 0;
    async::TaskScope tasks_; // last: tasks end before what they use
};
