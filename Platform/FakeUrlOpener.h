#pragma once

#include "UrlOpener.h"

#include <QList>
#include <QStringList>

// A URL opener that records what it was given (tests).
class FakeUrlOpener final : public UrlOpener {
public:
    bool canOpen(const QString& scheme) const override { return handledSchemes.contains(scheme); }
    bool open(const QUrl& url) override {
        opened << url;
        return opens;
    }

    QStringList handledSchemes;
    bool opens = true;
    QList<QUrl> opened;
};
