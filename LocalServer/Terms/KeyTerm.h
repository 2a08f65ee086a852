#pragma once

#include <QString>

// A term a mnemonic helps to remember, with what it means and, when the text has one, another
// sentence that uses it.
struct KeyTerm {
    QString term;
    QString definition;
    QString context;

    bool operator==(const KeyTerm&) const = default;
};
