#pragma once

#include <QString>
#include <QStringList>

// The sample explanation on the summary step: built around the first chosen interest that has a
// sample sentence, or plain when none has.
struct OnboardingReadySample {
    QString heading;
    QString sentence;
    // Only with an interest's sentence: whose interests the explanations will use.
    QString followUp;

    static OnboardingReadySample forInterests(const QStringList& interests);
    static QString caption();
};
