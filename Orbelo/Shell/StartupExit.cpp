#include "Shell/StartupExit.h"

#include "Shell/StartupTrace.h"

#include <QCoreApplication>
#include <QJSEngine>
#include <QQuickWindow>

namespace {

bool isOn(const QByteArray& value) {
    const QByteArray v = value.trimmed().toLower();
    return v == "1" || v == "true";
}

} // namespace

StartupExit::StartupExit(Milestone milestone, std::function<void()> quit, QObject* parent)
    : QObject(parent), milestone_(milestone), quit_(std::move(quit)),
      reached_(milestone == Milestone::firstFrame) {}

StartupExit& StartupExit::shared() {
    static StartupExit* instance = new StartupExit( // lives as long as the process
        milestoneFrom(qgetenv("ORBELO_EXIT_AFTER_FIRST_FRAME"), qgetenv("ORBELO_EXIT_AT_SIGN_IN")), [] {
            // Frames are reported on the render thread; the event loop ends on its own.
            QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                                      Qt::QueuedConnection);
        });
    return *instance;
}

StartupExit* StartupExit::create(QQmlEngine*, QJSEngine*) {
    StartupExit* instance = &shared();
    QJSEngine::setObjectOwnership(instance, QJSEngine::CppOwnership);
    return instance;
}

StartupExit::Milestone StartupExit::milestoneFrom(const QByteArray& afterFirstFrame,
                                                  const QByteArray& atSignIn) {
    if (isOn(afterFirstFrame))
        return Milestone::firstFrame;
    return isOn(atSignIn) ? Milestone::signInScreen : Milestone::none;
}

void StartupExit::watch(QQuickWindow* window) {
    if (milestone_ == Milestone::none || !window)
        return;
    window_ = window;
    connect(window, &QQuickWindow::beforeSynchronizing, this, &StartupExit::frameSynchronized,
            Qt::DirectConnection);
    connect(window, &QQuickWindow::frameSwapped, this, &StartupExit::frameSwapped, Qt::DirectConnection);
}

void StartupExit::signInShown() {
    if (milestone_ != Milestone::signInScreen || reached_)
        return;
    StartupTrace::mark("sign-in screen created");
    reached_ = true;
    if (window_)
        window_->update(); // a frame that shows it, even if nothing else changes
}

void StartupExit::frameSynchronized() {
    syncedReached_ = reached_.load();
}

void StartupExit::frameSwapped() {
    // A frame synchronized before the milestone was reached does not show it.
    if (!syncedReached_ || quitting_.exchange(true))
        return;
    StartupTrace::mark(milestone_ == Milestone::firstFrame ? "first frame on screen"
                                                           : "sign-in screen on screen");
    quit_();
}
