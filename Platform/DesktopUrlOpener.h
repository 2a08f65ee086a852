#pragma once

#include "UrlOpener.h"

// The desktop's own: QDesktopServices, and the freedesktop handler registrations.
class DesktopUrlOpener final : public UrlOpener {
public:
    bool canOpen(const QString& scheme) const override;
    bool open(const QUrl& url) override;
};
