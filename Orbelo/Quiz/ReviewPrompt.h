#pragma once

#include <QObject>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

class PreferencesStore;
class UrlOpener;

// Asking for a rating after good quizzes. There is no store prompt on Linux, so the result screen
// shows a card ("Enjoying Orbelo?") with a link to the app's page; it never blocks the result.
// Asked at most once per app version, and never on the first completed quiz.
class ReviewPrompt : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by QuizModel")
    Q_PROPERTY(bool isShown READ isShown NOTIFY isShownChanged)
public:
    static inline const QString completedQuizzesKey = QStringLiteral("reviewPrompt.completedQuizzes");
    static inline const QString lastPromptedVersionKey = QStringLiteral("reviewPrompt.lastPromptedVersion");

    ReviewPrompt(PreferencesStore& preferences, UrlOpener& opener, QString appVersion,
                 QObject* parent = nullptr);

    bool isShown() const { return isShown_; }

    // Counts a completed quiz and shows the card when this result earns the question.
    void quizCompleted(bool scoreSaved, double percent);
    // The link button: the app's page in the browser, and the card goes.
    Q_INVOKABLE void openPage();
    // "Not now".
    Q_INVOKABLE void dismiss();

Q_SIGNALS:
    void isShownChanged();

private:
    void setShown(bool shown);

    PreferencesStore& preferences_;
    UrlOpener& opener_;
    QString appVersion_;
    bool isShown_ = false;
};
