#pragma once

#include <QString>

// How a key term is written where it opens a sentence, a title or a list line: "glycolysis" →
// "Glycolysis", while a term whose first word has capitals of its own keeps them ("mRNA", "pH",
// "ATP", "Krebs cycle").
namespace TermCasing {
QString opening(const QString& term);
} // namespace TermCasing
