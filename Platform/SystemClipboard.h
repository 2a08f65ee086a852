#pragma once

#include "Clipboard.h"

// The desktop's clipboard (QClipboard); needs a QGuiApplication.
class SystemClipboard final : public Clipboard {
public:
    QString text() const override;
    void setText(const QString& text) override;
    QImage image() const override;
    void setImage(const QImage& image) override;
};
