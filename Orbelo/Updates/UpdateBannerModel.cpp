#include "Updates/UpdateBannerModel.h"

#include "AppInfo.h"

#include <QDesktopServices>
#include <QGuiApplication>

UpdateBannerModel::UpdateBannerModel(QObject* parent)
    : UpdateBannerModel(
          QUrl(AppInfo::appcastUrl()), PreferencesStore::standard(),
          [](const QUrl& url) { return QDesktopServices::openUrl(url); }, parent) {}

UpdateBannerModel::UpdateBannerModel(QUrl manifestURL, PreferencesStore& defaults, Opener open,
                                     QObject* parent)
    : QObject(parent), checker_(std::make_unique<DesktopUpdateChecker>(std::move(manifestURL), defaults)),
      open_(std::move(open)) {
    connect(checker_.get(), &DesktopUpdateChecker::availableUpdateChanged, this,
            &UpdateBannerModel::bannerChanged);
    if (auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        connect(application, &QGuiApplication::applicationStateChanged, this,
                [this](Qt::ApplicationState state) {
                    if (state == Qt::ApplicationActive)
                        applicationBecameActive();
                });
}

UpdateBannerModel::~UpdateBannerModel() = default;

QString UpdateBannerModel::releaseNotes() const {
    const auto& update = checker_->availableUpdate();
    return update ? update->releaseNotes.value_or(QString()) : QString();
}

bool UpdateBannerModel::canDismiss() const {
    const auto& update = checker_->availableUpdate();
    if (!update)
        return false;
    const bool unsupported =
        update->minSupportedBuild && DesktopUpdateChecker::currentBuild() < *update->minSupportedBuild;
    return !update->critical.value_or(false) && !unsupported;
}

void UpdateBannerModel::appear() {
    appeared_ = true;
    checker_->checkIfDue();
}

void UpdateBannerModel::download() {
    if (checker_->hasUpdate())
        open_(checker_->downloadURL());
}

void UpdateBannerModel::later() {
    if (canDismiss())
        checker_->dismiss();
}

void UpdateBannerModel::applicationBecameActive() {
    // Before the shell is up there is no banner to show.
    if (appeared_)
        checker_->checkIfDue();
}
