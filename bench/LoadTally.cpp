#include "LoadTally.h"

#include <algorithm>
#include <cmath>

double LoadTally::percentileMs(double p) {
    if (latenciesMs.empty())
        return 0;
    const double rank = std::ceil(p / 100.0 * double(latenciesMs.size()));
    const size_t index = std::clamp<size_t>(size_t(rank), 1, latenciesMs.size()) - 1;
    std::nth_element(latenciesMs.begin(), latenciesMs.begin() + long(index), latenciesMs.end());
    return latenciesMs[index];
}
