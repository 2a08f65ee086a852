#include "Quiz/ReviewPrompt.h"

#include "Common/SupportLinks.h"
#include "PreferencesStore.h"
#include "UrlOpener.h"

ReviewPrompt::ReviewPrompt(PreferencesStore& preferences, UrlOpener& opener, QString appVersion,
                           QObject* parent)
    : QObject(parent), preferences_(preferences), opener_(opener), appVersion_(std::move(appVersion)) {}

void ReviewPrompt::quizCompleted(bool scoreSaved, double percent) {
    const qint64 completed = preferences_.integer(completedQuizzesKey).value_or(0) + 1;
    preferences_.setValue(completedQuizzesKey, completed);
    if (!scoreSaved || percent < 70 || completed < 2 ||
        preferences_.string(lastPromptedVersionKey) == appVersion_)
        return;
    // Stored before asking, so that the question is never repeated for this version.
    preferences_.setValue(lastPromptedVersionKey, appVersion_);
    setShown(true);
}

void ReviewPrompt::openPage() {
    opener_.open(SupportLinks::appPage());
    setShown(false);
}

void ReviewPrompt::dismiss() {
    setShown(false);
}

void ReviewPrompt::setShown(bool shown) {
    if (shown == isShown_)
        return;
    isShown_ = shown;
    Q_EMIT isShownChanged();
}
