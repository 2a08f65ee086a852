#pragma once

#include <vector>

// Words said one by one by a speech engine, as it made them.
struct SpokenWords {
    std::vector<std::vector<float>> words; // one a word, mono, silence and all
    int sampleRate = 0;                    // the voice's own
};
