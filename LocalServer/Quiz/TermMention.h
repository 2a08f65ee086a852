#pragma once

#include <QtGlobal>

// Where a sentence writes a key term: the term's index and the span of its text.
struct TermMention {
    int term = 0;
    qsizetype start = 0;
    qsizetype end = 0;
};
