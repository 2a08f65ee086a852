#include "Tutor/TutorSessionPlan.h"

namespace TutorSessionPlan {

QList<GRComprehensionQuestion> guideQuestions(const GuidedReadingPlan& plan, int limit) {
    QList<GRComprehensionQuestion> out;
    for (const GuidedReadingTemplate& style : plan.templates.value_or(QList<GuidedReadingTemplate>{})) {
        for (const GRComprehensionQuestion& question :
             style.comprehensionQuestions.value_or(QList<GRComprehensionQuestion>{})) {
            if (out.size() >= limit)
                return out;
            if (!question.question.trimmed().isEmpty())
                out << question;
        }
        if (!out.isEmpty())
            return out;
    }
    return out;
}

QList<Flashcard> courseCards(const QList<Flashcard>& due, const QString& courseId, int limit) {
    QList<Flashcard> out;
    for (const Flashcard& card : due) {
        if (out.size() >= limit)
            break;
        if (card.courseId == courseId)
            out << card;
    }
    return out;
}

QString remainingText(qint64 remainingMs) {
    const qint64 seconds = remainingMs <= 0 ? 0 : (remainingMs + 999) / 1000;
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString cardsLine(const QList<int>& ratingCounts) {
    static const QStringList names{QStringLiteral("Again"), QStringLiteral("Hard"), QStringLiteral("Good"),
                                   QStringLiteral("Easy")};
    int total = 0;
    QStringList parts;
    for (int i = 0; i < names.size(); ++i) {
        const int count = ratingCounts.value(i);
        total += count;
        parts << QStringLiteral("%1 %2").arg(names[i]).arg(count);
    }
    return QStringLiteral("Cards reviewed: %1 (%2)").arg(total).arg(parts.join(QStringLiteral(", ")));
}

} // namespace TutorSessionPlan
