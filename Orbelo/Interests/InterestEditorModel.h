#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "Interests/InterestSelectionStore.h"
#include "TaskScope.h"
#include "User/UserProfileResponse.h"
#include "User/UserProfileUpdateRequest.h"

#include <QHash>
#include <QSet>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

#include <functional>

class PreferencesStore;

// The "Your interests" editor: the chosen interests and the background sentence, loaded from the
// store when it opens. When this machine has never stored a selection, the profile's interests
// fill it in the background, keeping whatever the user changed in the meantime. Saving writes the
// store first, then the profile; a failed profile update keeps the editor open with the user's
// choices. Shown from Settings, or once as a prompt with "Save & continue" and "Skip", where
// closing it either way marks the prompt as offered.
class InterestEditorModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool isPrompt READ isPrompt WRITE setPrompt NOTIFY isPromptChanged)
    Q_PROPERTY(QStringList selectedNames READ selectedNames NOTIFY selectionChanged)
    Q_PROPERTY(QString background READ background WRITE setBackground NOTIFY backgroundChanged)
    Q_PROPERTY(bool isSaving READ isSaving NOTIFY isSavingChanged)
    Q_PROPERTY(bool showSlowHint READ showSlowHint NOTIFY showSlowHintChanged)
    Q_PROPERTY(QString errorMessage READ errorMessage NOTIFY errorMessageChanged)
    Q_PROPERTY(QString saveTitle READ saveTitle NOTIFY isPromptChanged)
public:
    using ProfileFetch = std::function<async::Task<UserProfileResponse>()>;
    using ProfileUpdate = std::function<async::Task<UserProfileResponse>(UserProfileUpdateRequest)>;

    static constexpr std::chrono::seconds slowHintDelay{5};
    static inline const QString failureMessage =
        QStringLiteral("Couldn't save your interests. Please try again.");
    static inline const QString slowHintText =
        QStringLiteral("This is taking longer than usual — still working…");

    // The app's profile endpoint and preferences.
    explicit InterestEditorModel(QObject* parent = nullptr);
    // `preferences` outlives the model.
    InterestEditorModel(ProfileFetch fetchProfile, ProfileUpdate updateProfile, PreferencesStore& preferences,
                        QObject* parent = nullptr);

    bool isPrompt() const { return isPrompt_; }
    void setPrompt(bool prompt);
    QStringList selectedNames() const;
    QSet<QString> selection() const { return selection_; }
    QString background() const { return background_; }
    void setBackground(const QString& background);
    bool isSaving() const { return isSaving_; }
    bool showSlowHint() const { return showSlowHint_; }
    QString errorMessage() const { return errorMessage_; }
    QString saveTitle() const;

    // Reads the stored selection and background (called when the editor opens); with no stored
    // selection, also asks the profile for one.
    Q_INVOKABLE void load();
    Q_INVOKABLE void toggle(const QString& name);
    Q_INVOKABLE bool isSelected(const QString& name) const { return selection_.contains(name); }
    Q_INVOKABLE void save();
    // Closes without saving ("Skip", Escape, or closing the sheet).
    Q_INVOKABLE void dismiss();

Q_SIGNALS:
    void isPromptChanged();
    void selectionChanged();
    void backgroundChanged();
    void isSavingChanged();
    void showSlowHintChanged();
    void errorMessageChanged();
    // The editor is done and its sheet should close: after a successful save or a dismissal.
    void finished();

private:
    static async::Task<void> send(InterestEditorModel* self, UserProfileUpdateRequest update);
    static async::Task<void> waitThenHint(InterestEditorModel* self);
    void fillFromProfile(const UserProfileResponse& profile);
    void endSave(bool succeeded);
    void setSaving(bool saving);
    void setShowSlowHint(bool show);
    void setErrorMessage(const QString& message);

    ProfileFetch fetchProfile_;
    ProfileUpdate updateProfile_;
    InterestSelectionStore store_;
    bool isPrompt_ = false;
    QSet<QString> selection_;
    QString background_;
    // What the user ticked (true) or unticked since the editor opened, and whether they typed.
    QHash<QString, bool> userChoices_;
    bool backgroundEdited_ = false;
    bool isSaving_ = false;
    bool showSlowHint_ = false;
    QString errorMessage_;
    async::TaskScope::TaskId hintTask_ = 0;
    async::TaskScope::TaskId profileFetch_ = 0;
    async::TaskScope tasks_; // last: tasks end before what they use
};
