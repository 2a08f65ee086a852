#pragma once

#include <QString>

namespace SentenceText {
// Trimmed, and ending in a full stop unless it already ends a sentence ("." "!" "?" "…"); an empty
// text stays empty.
QString completed(const QString& text);
} // namespace SentenceText
