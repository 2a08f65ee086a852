#pragma once

#include <QString>
#include <QStringList>

// Splits text into chunks of whole paragraphs (a paragraph longer than the limit is split at
// sentence ends), each at most `maxChars` long where possible.
namespace TextChunker {
constexpr int defaultMaxChars = 1500;
QStringList chunks(const QString& text, int maxChars = defaultMaxChars);
QStringList sentences(const QString& text);
} // namespace TextChunker
