#pragma once

#include "Songs/SpokenWords.h"

#include <QString>
#include <QStringList>
#include <optional>

// Words spoken one by one by festival in a single run: a Scheme script has each synthesised and
// saved on its own, so that festival starts and loads its voice once per song, not once a word.
class FestivalWords {
public:
    // The words must be plain ASCII letters, digits, apostrophes and hyphens (they go into the
    // script); `voice` is the name of an installed festival voice.
    static std::optional<SpokenWords> say(const QStringList& words, const QString& voice, QString* error);
};
