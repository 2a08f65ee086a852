#pragma once

#include "Songs/SpokenWords.h"

#include <QString>
#include <QStringList>
#include <optional>

// Words spoken one by one by libflite in this process, with the slt voice built into it. flite's
// voice is shared, so calls are serialised.
class FliteWords {
public:
    // The words must be plain ASCII.
    static std::optional<SpokenWords> say(const QStringList& words, QString* error);
};
