#pragma once

#include "Pasteboard.h"

// A pasteboard that lives only as long as the object (tests).
class InMemoryPasteboard final : public Pasteboard {
public:
    QString text() const override { return text_; }
    void setText(const QString& text) override { text_ = text; }

private:
    QString text_;
};
