#pragma once

#include <QString>
#include <QUrl>

// Where users reach the people behind Orbelo, its own page and its legal pages. Configuration,
// kept here only.
struct SupportLinks {
    static QUrl appPage() { return QUrl(QStringLiteral("https://orbelo.app")); }
    static QUrl contactSupport() { return QUrl(QStringLiteral("https://orbelo.app/support")); }
    static QString supportEmail() { return QStringLiteral("support@orbelo.app"); }
    static QUrl emailUs() { return QUrl(QStringLiteral("mailto:") + supportEmail()); }
    static QUrl termsOfUse() { return QUrl(QStringLiteral("https://orbelo.app/terms")); }
    static QUrl privacyPolicy() { return QUrl(QStringLiteral("https://orbelo.app/privacy")); }
};
