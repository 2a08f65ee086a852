#pragma once

#include <QString>
#include <QUrl>

// Hands URLs to the desktop: the browser for web addresses, the registered application for other
// schemes (a calendar app for webcal:).
class UrlOpener {
public:
    virtual ~UrlOpener() = default;

    // Whether some application on this computer is registered for the scheme.
    virtual bool canOpen(const QString& scheme) const = 0;
    // False when the desktop could not hand the URL to anything.
    virtual bool open(const QUrl& url) = 0;
};
