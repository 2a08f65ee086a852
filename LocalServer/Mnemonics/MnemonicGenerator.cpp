#include "Mnemonics/MnemonicGenerator.h"

#include "Mnemonics/AcronymMnemonic.h"
#include "Mnemonics/AcrosticMnemonic.h"
#include "Mnemonics/MemoryPalaceMnemonic.h"
#include "Mnemonics/MnemonicPhrasing.h"
#include "Mnemonics/RhymeMnemonic.h"
#include "Mnemonics/StoryMnemonic.h"

#include <QSet>
#include <algorithm>
#include <array>

namespace {

bool isShort(const KeyTerm& term) {
    return term.term.size() <= 20 && term.term.split(' ', Qt::SkipEmptyParts).size() <= 2;
}

} // namespace

const QStringList& MnemonicGenerator::types() {
    static const QStringList list{"any", "acronym", "acrostic", "rhyme", "story", "method_of_loci"};
    return list;
}

const QStringList& MnemonicGenerator::difficulties() {
    static const QStringList list{"easy", "medium", "hard"};
    return list;
}

int MnemonicGenerator::termLimit(const QString& type, const QString& difficulty) {
    const int level = std::max<int>(0, int(difficulties().indexOf(difficulty)));
    if (type == "method_of_loci")
        return std::array{5, 8, MemoryPalaceMnemonic::rooms}[level];
    return std::array{3, 5, 7}[level];
}

QList<KeyTerm> MnemonicGenerator::usableTerms(const QList<KeyTerm>& terms) {
    QList<KeyTerm> usable;
    QSet<QString> seen;
    for (KeyTerm term : terms) {
        term.term = term.term.simplified();
        if (MnemonicPhrasing::initialOf(term.term).isNull() || seen.contains(term.term.toLower()))
            continue;
        seen.insert(term.term.toLower());
        usable.append(term);
    }
    return usable;
}

QString MnemonicGenerator::resolveType(const QList<KeyTerm>& terms, const QString& difficulty) {
    const qsizetype limit = termLimit("acronym", difficulty);
    if (terms.size() > limit)
        return "method_of_loci";
    if (terms.size() >= 3 && std::all_of(terms.begin(), terms.end(), isShort))
        return "acronym";
    return "story";
}

MnemonicGenerator::Mnemonic MnemonicGenerator::generate(const Request& request) {
    const QList<KeyTerm> usable = usableTerms(request.terms);
    const QString type = request.type == "any" ? resolveType(usable, request.difficulty) : request.type;
    const QList<KeyTerm> terms = usable.mid(0, termLimit(type, request.difficulty));
    Mnemonic mnemonic = type == "acronym"    ? AcronymMnemonic::make(terms, request)
                        : type == "acrostic" ? AcrosticMnemonic::make(terms, request)
                        : type == "rhyme"    ? RhymeMnemonic::make(terms, request)
                        : type == "story"    ? StoryMnemonic::make(terms, request)
                                             : MemoryPalaceMnemonic::make(terms, request);
    mnemonic.type = type;
    return mnemonic;
}
