#include "Interests/InterestEditorModel.h"

#include "Auth/AuthSession.h"
#include "Clock.h"
#include "Interests/InterestCatalog.h"
#include "PreferencesStore.h"
#include "User/UserAPI.h"

#include <algorithm>

InterestEditorModel::InterestEditorModel(QObject* parent)
    : InterestEditorModel([] { return UserAPI(AuthSession::makeAPIClient()).profile(); },
                          [](UserProfileUpdateRequest update) {
                              return UserAPI(AuthSession::makeAPIClient()).updateProfile(update);
                          },
                          PreferencesStore::standard(), parent) {}

InterestEditorModel::InterestEditorModel(ProfileFetch fetchProfile, ProfileUpdate updateProfile,
                                         PreferencesStore& preferences, QObject* parent)
    : QObject(parent), fetchProfile_(std::move(fetchProfile)), updateProfile_(std::move(updateProfile)),
      store_(preferences) {}

void InterestEditorModel::setPrompt(bool prompt) {
    if (prompt == isPrompt_)
        return;
    isPrompt_ = prompt;
    Q_EMIT isPromptChanged();
}

QStringList InterestEditorModel::selectedNames() const {
    QStringList names(selection_.cbegin(), selection_.cend());
    std::sort(names.begin(), names.end());
    return names;
}

void InterestEditorModel::setBackground(const QString& background) {
    if (background == background_)
        return;
    background_ = background;
    backgroundEdited_ = true;
    Q_EMIT backgroundChanged();
}

QString InterestEditorModel::saveTitle() const {
    return isPrompt_ ? QStringLiteral("Save & continue") : QStringLiteral("Save");
}

void InterestEditorModel::load() {
    tasks_.cancel(profileFetch_);
    userChoices_.clear();
    selection_ = store_.selections();
    Q_EMIT selectionChanged();
    setBackground(store_.background());
    backgroundEdited_ = false;
    setErrorMessage({});
    // Interests picked during onboarding elsewhere live only in the profile; without them a save
    // here would replace the profile's interests with what little is ticked. A failed request
    // leaves the editor as it is.
    if (!store_.hasSelections())
        profileFetch_ = tasks_.spawn(
            fetchProfile_(), [this](const UserProfileResponse& profile) { fillFromProfile(profile); },
            async::TaskScope::ErrorHandler([](std::exception_ptr) {}));
}

void InterestEditorModel::fillFromProfile(const UserProfileResponse& profile) {
    QSet<QString> filled = InterestCatalog::selection(profile.interests.value_or(QList<UserInterest>()));
    for (auto choice = userChoices_.cbegin(); choice != userChoices_.cend(); ++choice) {
        if (choice.value())
            filled.insert(choice.key());
        else
            filled.remove(choice.key());
    }
    if (filled != selection_) {
        selection_ = filled;
        Q_EMIT selectionChanged();
    }
    if (!backgroundEdited_ && profile.background && !profile.background->isEmpty()) {
        setBackground(*profile.background);
        backgroundEdited_ = false;
    }
}

void InterestEditorModel::toggle(const QString& name) {
    if (!selection_.remove(name))
        selection_.insert(name);
    userChoices_.insert(name, selection_.contains(name));
    Q_EMIT selectionChanged();
}

void InterestEditorModel::save() {
    if (isSaving_)
        return;
    setErrorMessage({});
    // What is saved now stands; a profile answer arriving later must not change it.
    tasks_.cancel(profileFetch_);
    store_.setSelections(selection_);
    store_.setBackground(background_);

    UserProfileUpdateRequest update;
    // An empty selection goes out as an empty list: the user cleared their interests.
    update.interests = InterestCatalog::profileInterests(selection_);
    update.background = background_.trimmed();
    setSaving(true);
    hintTask_ = tasks_.spawn(waitThenHint(this));
    tasks_.spawn(send(this, std::move(update)),
                 async::TaskScope::ErrorHandler([this](std::exception_ptr) { endSave(false); }));
}

async::Task<void> InterestEditorModel::send(InterestEditorModel* self, UserProfileUpdateRequest update) {
    co_await self->updateProfile_(std::move(update));
    self->endSave(true);
}

async::Task<void> InterestEditorModel::waitThenHint(InterestEditorModel* self) {
    co_await async::Clock::current().sleep(slowHintDelay);
    self->setShowSlowHint(true);
}

void InterestEditorModel::endSave(bool succeeded) {
    tasks_.cancel(hintTask_);
    setShowSlowHint(false);
    setSaving(false);
    if (!succeeded) {
        setErrorMessage(failureMessage);
        return;
    }
    if (isPrompt_)
        store_.setPrompted(true);
    // Posted: whoever closes the sheet on `finished` may destroy this model, which must not
    // happen inside the task that is ending.
    QMetaObject::invokeMethod(this, &InterestEditorModel::finished, Qt::QueuedConnection);
}

void InterestEditorModel::dismiss() {
    tasks_.cancel(profileFetch_);
    if (isPrompt_)
        store_.setPrompted(true);
    Q_EMIT finished();
}

void InterestEditorModel::setSaving(bool saving) {
    if (saving == isSaving_)
        return;
    isSaving_ = saving;
    Q_EMIT isSavingChanged();
}

void InterestEditorModel::setShowSlowHint(bool show) {
    if (show == showSlowHint_)
        return;
    showSlowHint_ = show;
    Q_EMIT showSlowHintChanged();
}

void InterestEditorModel::setErrorMessage(const QString& message) {
    if (message == errorMessage_)
        return;
    errorMessage_ = message;
    Q_EMIT errorMessageChanged();
}
