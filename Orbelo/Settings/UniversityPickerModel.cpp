#include "Settings/UniversityPickerModel.h"

#include "Auth/AuthSession.h"
#include "Clock.h"
#include "Common/FailureMessage.h"
#include "User/UniversityAPI.h"
#include "User/UserAPI.h"

#include <QVariantMap>

UniversityPickerModel::UniversityPickerModel(QObject* parent)
    : UniversityPickerModel(AuthSession::makeAPIClient(), parent) {}

UniversityPickerModel::UniversityPickerModel(APIClient client, QObject* parent)
    : QObject(parent), client_(std::move(client)) {}

QString UniversityPickerModel::detail(const University& university) {
    QStringList place;
    for (const std::optional<QString>& part : {university.city, university.state})
        if (part && !part->trimmed().isEmpty())
            place << part->trimmed();
    QStringList parts;
    if (!place.isEmpty())
        parts << place.join(QStringLiteral(", "));
    if (university.shortName && !university.shortName->trimmed().isEmpty())
        parts << university.shortName->trimmed();
    return parts.join(QStringLiteral(" · "));
}

QVariantList UniversityPickerModel::results() const {
    QVariantList list;
    for (const University& university : results_)
        list << QVariantMap{{QStringLiteral("id"), university.id},
                            {QStringLiteral("name"), university.name},
                            {QStringLiteral("detail"), detail(university)}};
    return list;
}

void UniversityPickerModel::load() {
    if (tasks_.isRunning(loadTask_))
        return;
    // A profile that cannot be read leaves the picker empty; searching still works.
    loadTask_ = tasks_.spawn(loadSelection(this), async::TaskScope::ErrorHandler([](std::exception_ptr) {}));
}

async::Task<void> UniversityPickerModel::loadSelection(UniversityPickerModel* self) {
    const UserAPI users(self->client_);
    const UserProfileResponse profile = co_await users.profile();
    const QString id = profile.universityId.value_or(QString());
    if (id.isEmpty()) {
        self->setSelection({}, {});
        co_return;
    }
    const UniversityAPI universities(self->client_);
    const University university = co_await universities.university(id);
    self->setSelection(university.id, university.name);
}

void UniversityPickerModel::setQuery(const QString& query) {
    if (query == query_)
        return;
    query_ = query;
    Q_EMIT queryChanged();
    tasks_.cancel(searchTask_);
    setErrorMessage({});
    const QString text = query.trimmed();
    setSearching(!text.isEmpty());
    if (text.isEmpty()) {
        setResults({});
        return;
    }
    searchTask_ = tasks_.spawn(
        search(this, text), async::TaskScope::ErrorHandler([this](std::exception_ptr e) {
            setSearching(false);
            setErrorMessage(FailureMessage::compose(QStringLiteral("Couldn't search schools"), e));
        }));
}

async::Task<void> UniversityPickerModel::search(UniversityPickerModel* self, QString query) {
    // Typing on restarts the pause, so one request goes out per pause in typing.
    co_await async::Clock::current().sleep(searchDelay);
    const UniversityAPI api(self->client_);
    QList<University> found = co_await api.search(query, searchLimit);
    self->setResults(std::move(found));
    self->setSearching(false);
}

void UniversityPickerModel::choose(int index) {
    if (isSaving_ || index < 0 || index >= results_.size())
        return;
    setErrorMessage({});
    setSaving(true);
    tasks_.spawn(store(this, results_.at(index)),
                 async::TaskScope::ErrorHandler([this](std::exception_ptr e) {
                     setSaving(false);
                     setErrorMessage(FailureMessage::compose(QStringLiteral("Couldn't save your school"), e));
                 }));
}

async::Task<void> UniversityPickerModel::store(UniversityPickerModel* self, University university) {
    UserProfileUpdateRequest update;
    update.universityId = university.id;
    const UserAPI api(self->client_);
    co_await api.updateProfile(update);
    self->setSaving(false);
    self->setSelection(university.id, university.name);
    self->setQuery({});
    Q_EMIT self->universityChanged();
}

void UniversityPickerModel::setResults(QList<University> results) {
    results_ = std::move(results);
    Q_EMIT resultsChanged();
}

void UniversityPickerModel::setSelection(const QString& id, const QString& name) {
    if (id == selectedId_ && name == selectedName_)
        return;
    selectedId_ = id;
    selectedName_ = name;
    Q_EMIT selectionChanged();
}

void UniversityPickerModel::setSearching(bool searching) {
    if (searching == isSearching_)
        return;
    isSearching_ = searching;
    Q_EMIT isSearchingChanged();
}

void UniversityPickerModel::setSaving(bool saving) {
    if (saving == isSaving_)
        return;
    isSaving_ = saving;
    Q_EMIT isSavingChanged();
}

void UniversityPickerModel::setErrorMessage(const QString& message) {
    if (message == errorMessage_)
        return;
    errorMessage_ = message;
    Q_EMIT errorMessageChanged();
}
