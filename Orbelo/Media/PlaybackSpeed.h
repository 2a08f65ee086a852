#pragma once

#include "PreferencesStore.h"

#include <QString>
#include <QVariantList>

#include <array>

// The six playback rates shared by narration and read-aloud, and the user's stored choice.
class PlaybackSpeed {
public:
    enum Value { x075, x100, x125, x150, x175, x200 };

    static constexpr std::array<Value, 6> all{x075, x100, x125, x150, x175, x200};
    static inline const QString preferenceKey = QStringLiteral("tts.playbackSpeed");

    constexpr PlaybackSpeed(Value value = x100) : value_(value) {}

    constexpr Value value() const { return value_; }
    // 1.0 plays at the recorded speed.
    double rate() const;
    QString label() const;
    QString spokenLabel() const;

    // The stored choice (kept as its rate), x100 when none or an unknown one is stored.
    static PlaybackSpeed stored(const PreferencesStore& store);
    void store(PreferencesStore& store) const;

    // Every speed in order as {label, spokenLabel, rate}, for speed menus.
    static QVariantList menuEntries();

    friend constexpr bool operator==(PlaybackSpeed, PlaybackSpeed) = default;

private:
    Value value_;
};
