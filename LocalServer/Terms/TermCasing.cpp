#include "Terms/TermCasing.h"

namespace TermCasing {

QString opening(const QString& term) {
    const QString word = term.section(' ', 0, 0);
    return word == word.toLower() ? term.left(1).toUpper() + term.mid(1) : term;
}

} // namespace TermCasing
