#pragma once

#include "Pasteboard.h"

// The desktop's clipboard (QClipboard); needs a QGuiApplication.
class SystemPasteboard final : public Pasteboard {
public:
    QString text() const override;
    void setText(const QString& text) override;
    QImage image() const override;
    void setImage(const QImage& image) override;
};
