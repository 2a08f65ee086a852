#include "Onboarding/OnboardingReadySample.h"

#include <QHash>

namespace {

const QHash<QString, QString>& sentences() {
    static const QHash<QString, QString> byInterest{
        {QStringLiteral("Basketball"),
         QStringLiteral("A cell membrane runs like a full-court press — it decides who gets through and who "
                        "gets turned away at the line.")},
        {QStringLiteral("Cooking"), QStringLiteral("A cell membrane works like a sieve over a stockpot — the "
                                                   "broth passes, the bones stay behind.")},
        {QStringLiteral("The Office"),
         QStringLiteral("A cell membrane is Pam at reception — everyone has to get "
                        "past her, and most people don't.")},
    };
    return byInterest;
}

} // namespace

OnboardingReadySample OnboardingReadySample::forInterests(const QStringList& interests) {
    for (const QString& interest : interests) {
        const auto found = sentences().constFind(interest);
        if (found == sentences().constEnd())
            continue;
        return {QStringLiteral("Osmosis, explained through ") + interest, *found,
                QStringLiteral("We'll explain new ideas through ") + interests.constFirst() +
                    QStringLiteral(" and the rest of what you picked, using your own material.")};
    }
    return {
        QStringLiteral("Osmosis, explained plainly"),
        QStringLiteral("A cell membrane lets water through but holds larger molecules back, so water moves "
                       "toward the saltier side."),
        QString()};
}

QString OnboardingReadySample::caption() {
    return QStringLiteral(
        "An example of how we'll explain things. Real explanations come from your own material.");
}
