#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// The words of a sentence that carry its content: lower case, three letters or more, without the
// function words of English ("the", "which", "because", …).
namespace ContentWords {
QStringList of(const QString& sentence);
// How often each content word occurs in the sentences.
QHash<QString, int> frequency(const QStringList& sentences);
} // namespace ContentWords
