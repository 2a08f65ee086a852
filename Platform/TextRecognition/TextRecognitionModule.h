#pragma once

#include "TextRecognitionBackend.h"

#include <QStringList>

// Loads the module "orbelo-text-recognition" (TextRecognitionBackend) the first time a page is
// read, from any thread, and keeps it for the life of the process.
class TextRecognitionModule {
public:
    static inline const QString missingMessage =
        QStringLiteral("Text recognition isn't available: Orbelo's text recognition module is "
                       "missing (reinstall Orbelo).");

    // The backend, loaded on first use. Throws TextRecognitionError(engineUnavailable) with
    // `missingMessage` when no candidate holds the module; the next call tries again.
    static const TextRecognitionBackend& backend();

    // Where the module is looked for, in order: beside an installed app (`applicationDir` being
    // its bin folder), then where this build tree puts it.
    static QStringList candidates(const QString& applicationDir);
    // The backend of the first of `paths` that loads and has the entry point; nothing when none
    // does.
    static const TextRecognitionBackend* load(const QStringList& paths);
};
