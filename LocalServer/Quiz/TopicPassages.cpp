#include "Quiz/TopicPassages.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

// Words a topic carries no meaning in.
const QSet<QString>& topicStopWords() {
    static const QSet<QString> words{"the", "a", "an", "of", "and", "or", "in", "on", "to", "for", "with"};
    return words;
}

} // namespace

QString TopicPassages::of(const QString& text, const QString& topic, DistractorCloseness& stems) {
    QSet<QString> wanted;
    for (const QString& stem : stems.stems(topic))
        if (!topicStopWords().contains(stem))
            wanted.insert(stem);
    static const QRegularExpression paragraphBreak(R"(\n\s*\n)");
    static const QRegularExpression heading(R"(^\s*#{1,6}\s+)");
    QStringList kept;
    QString sectionHeading;
    bool sectionMatches = false;
    bool headingKept = false;
    for (const QString& paragraph : text.split(paragraphBreak, Qt::SkipEmptyParts)) {
        const bool mentions = stems.stems(paragraph).contains(wanted);
        if (heading.match(paragraph).hasMatch()) {
            sectionHeading = paragraph.section('\n', 0, 0);
            sectionMatches = mentions;
            headingKept = false;
        }
        if (!mentions && !sectionMatches)
            continue;
        if (!headingKept && !sectionHeading.isEmpty() && !paragraph.startsWith(sectionHeading))
            kept.append(sectionHeading);
        headingKept = true;
        kept.append(paragraph);
    }
    return kept.join(QStringLiteral("\n\n"));
}
