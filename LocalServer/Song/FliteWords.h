#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// Words spoken one by one by libflite in this process, with the slt voice built into it. flite's
// voice is shared, so calls are serialised.
class FliteWords {
public:
    // One take a word, mono at `sampleRate`, silence and all. The words must be plain ASCII.
    static std::optional<std::vector<std::vector<float>>> say(const QStringList& words, int sampleRate,
                                                              QString* error);
};
