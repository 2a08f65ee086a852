#pragma once

#include "PreferencesStore.h"
#include "TaskScope.h"
#include "Updates/Appcast.h"

#include <QObject>
#include <QUrl>

#include <chrono>

// Checks the appcast for a newer build, at most once a day, and decides whether the update
// banner shows. A cached manifest decides at start without a request.
class DesktopUpdateChecker : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool hasUpdate READ hasUpdate NOTIFY availableUpdateChanged)
    Q_PROPERTY(QString availableVersion READ availableVersion NOTIFY availableUpdateChanged)
    Q_PROPERTY(QUrl downloadURL READ downloadURL NOTIFY availableUpdateChanged)
public:
    static constexpr std::chrono::seconds minFetchInterval{86'400};
    static constexpr std::chrono::milliseconds fetchTimeout{10'000};

    DesktopUpdateChecker(QUrl manifestURL, PreferencesStore& defaults, QObject* parent = nullptr);

    const std::optional<Appcast>& availableUpdate() const { return availableUpdate_; }
    bool hasUpdate() const { return availableUpdate_.has_value(); }
    QString availableVersion() const;
    QUrl downloadURL() const { return availableUpdate_ ? availableUpdate_->downloadURL : QUrl(); }

    // Fetch, cache, evaluate. Failures are logged and change nothing.
    async::Task<void> check();
    // Starts a check unless the last successful fetch is younger than a day.
    Q_INVOKABLE void checkIfDue();
    Q_INVOKABLE void dismiss();

    // The running build's number, 0 when it is not one.
    static int currentBuild();

Q_SIGNALS:
    void availableUpdateChanged();

private:
    void evaluate(const Appcast& manifest);
    void setAvailableUpdate(std::optional<Appcast> update);

    QUrl manifestURL_;
    PreferencesStore& defaults_;
    std::optional<Appcast> availableUpdate_;
    async::TaskScope tasks_;
};
