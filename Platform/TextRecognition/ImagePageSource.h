#pragma once

#include "PageSource.h"

#include <QList>

// Pages already in memory, such as webcam captures.
class ImagePageSource : public PageSource {
public:
    explicit ImagePageSource(QList<QImage> pages) : pages_(std::move(pages)) {}
    int pageCount() const override { return int(pages_.size()); }
    QImage page(int index) const override { return pages_.at(index); }

private:
    const QList<QImage> pages_;
};
