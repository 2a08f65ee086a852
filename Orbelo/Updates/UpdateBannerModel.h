#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "Updates/DesktopUpdateChecker.h"

#include <QUrl>
#include <QtQml/qqmlregistration.h>

#include <functional>
#include <memory>

// The update check as the shell carries it: a check when the shell appears and whenever the app
// becomes active again (the checker spaces fetches a day apart), and the banner's state and
// buttons. A critical update, or one the running build is too old to skip, cannot be put off.
class UpdateBannerModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool showsBanner READ showsBanner NOTIFY bannerChanged)
    Q_PROPERTY(QString availableVersion READ availableVersion NOTIFY bannerChanged)
    Q_PROPERTY(QString releaseNotes READ releaseNotes NOTIFY bannerChanged)
    Q_PROPERTY(bool canDismiss READ canDismiss NOTIFY bannerChanged)
public:
    using Opener = std::function<bool(const QUrl&)>;

    // The app's: the appcast at AppInfo::appcastUrl(), the standard preferences and
    // the desktop's browser.
    explicit UpdateBannerModel(QObject* parent = nullptr);
    UpdateBannerModel(QUrl manifestURL, PreferencesStore& defaults, Opener open, QObject* parent = nullptr);
    ~UpdateBannerModel() override;

    DesktopUpdateChecker& checker() { return *checker_; }
    bool showsBanner() const { return checker_->hasUpdate(); }
    QString availableVersion() const { return checker_->availableVersion(); }
    QString releaseNotes() const;
    bool canDismiss() const;

    // The shell is on screen.
    Q_INVOKABLE void appear();
    // "Download": the download page in the browser.
    Q_INVOKABLE void download();
    // "Later": hides the banner until a newer build.
    Q_INVOKABLE void later();
    // The app came back to the foreground.
    void applicationBecameActive();

Q_SIGNALS:
    void bannerChanged();

private:
    std::unique_ptr<DesktopUpdateChecker> checker_;
    Opener open_;
    bool appeared_ = false;
};
