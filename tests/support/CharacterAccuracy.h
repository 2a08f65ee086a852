#pragma once

#include <QString>

// How closely recognised text matches the text that was drawn: 1 minus the edit distance between
// the two, over the drawn text's length, after runs of white space are made single spaces (line
// breaks and column gaps are layout, not characters read). 1.0 is a perfect read; can go below 0.
double characterAccuracy(const QString& expected, const QString& recognised);
