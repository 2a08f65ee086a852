#pragma once

#include <QObject>
#include <QPointer>
#include <QtQml/qqmlregistration.h>

#include <atomic>
#include <functional>

class QJSEngine;
class QQmlEngine;
class QQuickWindow;

// Ends the process cleanly at a start-up milestone when the environment asks for it, so that
// start-up can be timed from outside (bench/StartupBench): ORBELO_EXIT_AFTER_FIRST_FRAME=1 quits
// once the first frame (the splash) is on screen, ORBELO_EXIT_AT_SIGN_IN=1 once a frame shows the
// sign-in screen of a signed-out start (still under the splash while that lasts). Without either
// it does nothing and watches no frames.
class StartupExit : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
public:
    enum class Milestone { none, firstFrame, signInScreen };

    StartupExit(Milestone milestone, std::function<void()> quit, QObject* parent = nullptr);

    // The one the app uses, set up from the environment; it quits the application's event loop.
    static StartupExit& shared();
    static StartupExit* create(QQmlEngine*, QJSEngine*);
    // The milestone asked for by the values of the two variables ("1" or "true" turns one on).
    static Milestone milestoneFrom(const QByteArray& afterFirstFrame, const QByteArray& atSignIn);

    Milestone milestone() const { return milestone_; }
    // The milestone was reached and the process is on its way out: start nothing new.
    bool isEnding() const { return quitting_; }

    // Reports the window's frames; the connections run on the window's render thread.
    void watch(QQuickWindow* window);
    // The sign-in screen is in the window; the process ends once a frame shows it.
    Q_INVOKABLE void signInShown();

    // A frame's scene was taken from the window (the GUI thread waits meanwhile) ...
    void frameSynchronized();
    // ... and that frame is on screen.
    void frameSwapped();

private:
    const Milestone milestone_;
    const std::function<void()> quit_;
    QPointer<QQuickWindow> window_;
    std::atomic<bool> reached_ = false;       // the milestone's content is in the scene
    std::atomic<bool> syncedReached_ = false; // ... and in the last frame synchronized
    std::atomic<bool> quitting_ = false;
};
