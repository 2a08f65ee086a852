#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "APIClient.h"
#include "TaskScope.h"
#include "User/University.h"

#include <QVariantList>
#include <QtQml/qqmlregistration.h>

// The school picker: shows the school stored in the profile, searches the directory as the user
// types (after a short pause), and stores a chosen school as the profile's university.
class UniversityPickerModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString query READ query WRITE setQuery NOTIFY queryChanged)
    Q_PROPERTY(QVariantList results READ results NOTIFY resultsChanged)
    Q_PROPERTY(bool isSearching READ isSearching NOTIFY isSearchingChanged)
    Q_PROPERTY(QString selectedId READ selectedId NOTIFY selectionChanged)
    Q_PROPERTY(QString selectedName READ selectedName NOTIFY selectionChanged)
    Q_PROPERTY(bool isSaving READ isSaving NOTIFY isSavingChanged)
    Q_PROPERTY(QString errorMessage READ errorMessage NOTIFY errorMessageChanged)
public:
    static constexpr int searchLimit = 20;
    static constexpr std::chrono::milliseconds searchDelay{300};

    // The app's backend client.
    explicit UniversityPickerModel(QObject* parent = nullptr);
    UniversityPickerModel(APIClient client, QObject* parent = nullptr);

    QString query() const { return query_; }
    void setQuery(const QString& query);
    // Each result as {id, name, detail}; detail is the place and short name, when known.
    QVariantList results() const;
    bool isSearching() const { return isSearching_; }
    QString selectedId() const { return selectedId_; }
    QString selectedName() const { return selectedName_; }
    bool isSaving() const { return isSaving_; }
    QString errorMessage() const { return errorMessage_; }

    // Reads the profile's school (called when the screen appears).
    Q_INVOKABLE void load();
    // Stores the result at `index` as the user's school.
    Q_INVOKABLE void choose(int index);

    static QString detail(const University& university);

Q_SIGNALS:
    void queryChanged();
    void resultsChanged();
    void isSearchingChanged();
    void selectionChanged();
    void isSavingChanged();
    void errorMessageChanged();
    // A new school was stored.
    void universityChanged();

private:
    static async::Task<void> loadSelection(UniversityPickerModel* self);
    static async::Task<void> search(UniversityPickerModel* self, QString query);
    static async::Task<void> store(UniversityPickerModel* self, University university);
    void setResults(QList<University> results);
    void setSelection(const QString& id, const QString& name);
    void setSearching(bool searching);
    void setSaving(bool saving);
    void setErrorMessage(const QString& message);

    APIClient client_;
    QString query_;
    QList<University> results_;
    QString selectedId_;
    QString selectedName_;
    bool isSearching_ = false;
    bool isSaving_ = false;
    QString errorMessage_;
    async::TaskScope::TaskId searchTask_ = 0;
    async::TaskScope::TaskId loadTask_ = 0;
    async::TaskScope tasks_; // last: tasks end before what they use
};
