#pragma once

#include <QString>

class QImage;

// The system's copy-and-paste text and images.
class Clipboard {
public:
    virtual ~Clipboard() = default;

    virtual QString text() const = 0;
    virtual void setText(const QString& text) = 0;
    virtual QImage image() const = 0;
    virtual void setImage(const QImage& image) = 0;
};
