#include "CharacterAccuracy.h"

#include <algorithm>
#include <numeric>
#include <vector>

double characterAccuracy(const QString& expected, const QString& recognised) {
    const QString a = expected.simplified();
    const QString b = recognised.simplified();
    if (a.isEmpty())
        return b.isEmpty() ? 1.0 : 0.0;
    // Levenshtein distance, one row at a time.
    std::vector<int> row(b.size() + 1);
    std::iota(row.begin(), row.end(), 0);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = int(i);
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const int above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return 1.0 - double(row[b.size()]) / double(a.size());
}
