#pragma once

#include <QString>

// English syllables counted by spelling: groups of vowels, a silent final "e" left out. Close enough
// to fit a line to a beat.
namespace Syllables {
int count(const QString& word);
int countLine(const QString& line);
} // namespace Syllables
