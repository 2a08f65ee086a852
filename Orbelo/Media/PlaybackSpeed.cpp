#include "Media/PlaybackSpeed.h"

#include <QVariantMap>

#include <cmath>

double PlaybackSpeed::rate() const {
    static constexpr std::array<double, 6> rates{0.75, 1.0, 1.25, 1.5, 1.75, 2.0};
    return rates[value_];
}

QString PlaybackSpeed::label() const {
    switch (value_) {
    case x075:
        return QStringLiteral("0.75×");
    case x100:
        return QStringLiteral("1×");
    case x125:
        return QStringLiteral("1.25×");
    case x150:
        return QStringLiteral("1.5×");
    case x175:
        return QStringLiteral("1.75×");
    case x200:
        return QStringLiteral("2×");
    }
    Q_UNREACHABLE();
}

QString PlaybackSpeed::spokenLabel() const {
    switch (value_) {
    case x075:
        return QStringLiteral("0.75 times speed");
    case x100:
        return QStringLiteral("Normal speed");
    case x125:
        return QStringLiteral("1.25 times speed");
    case x150:
        return QStringLiteral("1.5 times speed");
    case x175:
        return QStringLiteral("1.75 times speed");
    case x200:
        return QStringLiteral("2 times speed");
    }
    Q_UNREACHABLE();
}

PlaybackSpeed PlaybackSpeed::stored(const PreferencesStore& store) {
    const std::optional<double> rate = store.number(preferenceKey);
    if (rate) {
        for (const Value value : all) {
            if (std::abs(PlaybackSpeed(value).rate() - *rate) < 1e-6)
                return value;
        }
    }
    return x100;
}

void PlaybackSpeed::store(PreferencesStore& store) const {
    store.setValue(preferenceKey, rate());
}

QVariantList PlaybackSpeed::menuEntries() {
    QVariantList entries;
    for (const Value value : all) {
        const PlaybackSpeed speed(value);
        entries.append(QVariantMap{{QStringLiteral("label"), speed.label()},
                                   {QStringLiteral("spokenLabel"), speed.spokenLabel()},
                                   {QStringLiteral("rate"), speed.rate()}});
    }
    return entries;
}
