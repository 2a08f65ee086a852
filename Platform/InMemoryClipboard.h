#pragma once

#include "Clipboard.h"

#include <QImage>

// A clipboard that lives only as long as the object (tests). Like the desktop's, it holds one
// thing at a time: setting text drops the image and the other way round.
class InMemoryClipboard final : public Clipboard {
public:
    QString text() const override { return text_; }
    void setText(const QString& text) override {
        text_ = text;
        image_ = QImage();
    }
    QImage image() const override { return image_; }
    void setImage(const QImage& image) override {
        image_ = image;
        text_.clear();
    }

private:
    QString text_;
    QImage image_;
};
