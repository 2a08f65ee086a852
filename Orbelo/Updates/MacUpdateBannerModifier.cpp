#include "MacUpdateBannerModifier.h"

#include "BundleInfo.h"

#include <QDesktopServices>
#include <QGuiApplication>

MacUpdateBannerModifier::MacUpdateBannerModifier(QObject* parent)
    : MacUpdateBannerModifier(
          QUrl(BundleInfo::value(QStringLiteral("OrbeloAppcastURL")).toString()),
          PreferencesStore::standard(), [](const QUrl& url) { return QDesktopServices::openUrl(url); },
          parent) {}

MacUpdateBannerModifier::MacUpdateBannerModifier(QUrl manifestURL, PreferencesStore& defaults, Opener open,
                                                 QObject* parent)
    : QObject(parent), checker_(std::make_unique<MacUpdateChecker>(std::move(manifestURL), defaults)),
      open_(std::move(open)) {
    connect(checker_.get(), &MacUpdateChecker::availableUpdateChanged, this,
            &MacUpdateBannerModifier::bannerChanged);
    if (auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        connect(application, &QGuiApplication::applicationStateChanged, this,
                [this](Qt::ApplicationState state) {
                    if (state == Qt::ApplicationActive)
                        applicationBecameActive();
                });
}

MacUpdateBannerModifier::~MacUpdateBannerModifier() = default;

QString MacUpdateBannerModifier::releaseNotes() const {
    const auto& update = checker_->availableUpdate();
    return update ? update->releaseNotes.value_or(QString()) : QString();
}

bool MacUpdateBannerModifier::canDismiss() const {
    const auto& update = checker_->availableUpdate();
    if (!update)
        return false;
    const bool unsupported =
        update->minSupportedBuild && MacUpdateChecker::currentBuild() < *update->minSupportedBuild;
    return !update->critical.value_or(false) && !unsupported;
}

void MacUpdateBannerModifier::appear() {
    appeared_ = true;
    checker_->checkIfDue();
}

void MacUpdateBannerModifier::download() {
    if (checker_->hasUpdate())
        open_(checker_->downloadURL());
}

void MacUpdateBannerModifier::later() {
    if (canDismiss())
        checker_->dismiss();
}

void MacUpdateBannerModifier::applicationBecameActive() {
    // Before the shell is up there is no banner to show.
    if (appeared_)
        checker_->checkIfDue();
}
