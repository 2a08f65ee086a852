#pragma once

#include <QByteArray>
#include <QString>

// The output module speech-dispatcher speaks through ("festival", "espeak-ng", …), read from its
// configuration as it reads it: the user's speechd.conf when there is one, else the system's.
class SpeechDispatcherModule {
public:
    // Empty when no configuration names one.
    static QString configured();
    // The module of the last DefaultModule line of a speechd.conf; empty when there is none.
    static QString fromConfig(const QByteArray& config);
};
