#pragma once

#include <QString>

// The system's copy-and-paste text.
class Pasteboard {
public:
    virtual ~Pasteboard() = default;

    virtual QString text() const = 0;
    virtual void setText(const QString& text) = 0;
};
