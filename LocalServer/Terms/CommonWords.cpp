#include "Terms/CommonWords.h"

#include <QFile>
#include <algorithm>

namespace {

// Words never offered, however common: violence, vulgarity and insults have no place in a
// student's memory aids.
const QSet<QString>& unfitWords() {
    static const QSet<QString> words{
        "kill",   "killer",  "die",    "dies",   "dead",    "death",  "hate",    "sex",    "sexy",  "drug",
        "gun",    "war",     "bomb",   "murder", "rape",    "nude",   "naked",   "drunk",  "beer",  "wine",
        "hell",   "damn",    "devil",  "fat",    "ugly",    "stupid", "dumb",    "idiot",  "fool",  "crazy",
        "insane", "slave",   "blood",  "bloody", "corpse",  "weapon", "shoot",   "stab",   "steal", "rob",
        "crime",  "prison",  "jail",   "whore",  "bitch",   "ass",    "crap",    "piss",   "shit",  "fuck",
        "cock",   "dick",    "balls",  "breast", "queer",   "negro",  "suicide", "victim", "wound", "bury",
        "grave",  "coffin",  "poison", "abuse",  "assault", "attack", "enemy",   "fight",  "punch", "beat",
        "bully",  "funeral", "hatred", "cheat",  "liar",    "lie",    "sin",     "evil",   "ghost", "hang",
        "drown",  "burn"};
    return words;
}

bool isVowel(const QString& word, qsizetype at) {
    const QChar c = word.at(at);
    if (QStringLiteral("aeiou").contains(c))
        return true;
    // "y" is a vowel after a consonant: "energy", "style".
    return c == u'y' && at > 0 && !QStringLiteral("aeiou").contains(word.at(at - 1));
}

bool isPlainWord(const QString& word) {
    return std::all_of(word.begin(), word.end(), [](QChar c) { return c >= u'a' && c <= u'z'; });
}

} // namespace

const CommonWords& CommonWords::instance() {
    static const CommonWords words;
    return words;
}

CommonWords::CommonWords() {
    QFile list(QString::fromLatin1(wordListPath));
    if (list.open(QIODevice::ReadOnly | QIODevice::Text))
        for (const QByteArray& line : list.readAll().split('\n'))
            if (!line.isEmpty())
                words_.insert(QString::fromUtf8(line));
    for (const QString& word : std::as_const(words_)) {
        if (word.size() >= 2 && word.size() <= maxAnagramLength && isPlainWord(word))
            anagrams_[sortedLetters(word)].append(word);
        if (word.size() < minLength || word.size() > maxLength || !isPlainWord(word) ||
            unfitWords().contains(word))
            continue;
        QString& shortest = anyByLetter_[word.at(0)];
        if (shortest.isEmpty() || word.size() < shortest.size() ||
            (word.size() == shortest.size() && word < shortest))
            shortest = word;
    }

    // The list is read into a set: sorted here, so that every run offers the same words first.
    for (QStringList& spelled : anagrams_)
        spelled.sort();

    // Sense keys: lemma%ss_type:lex_filenum:lex_id:head_word:head_id sense_number tag_cnt, where
    // ss_type is 1 noun, 2 verb, 3 adjective, 4 adverb, 5 adjective satellite.
    QHash<QString, std::array<int, 3>> counts;
    QFile senses(QString::fromLatin1(senseCountsPath));
    if (senses.open(QIODevice::ReadOnly | QIODevice::Text)) {
        for (const QByteArray& line : senses.readAll().split('\n')) {
            const qsizetype percent = line.indexOf('%');
            const qsizetype space = line.lastIndexOf(' ');
            if (percent < minLength || percent > maxLength || space < 0 || percent + 1 >= line.size())
                continue;
            const QString lemma = QString::fromLatin1(line.left(percent));
            if (!isPlainWord(lemma) || !words_.contains(lemma) || unfitWords().contains(lemma))
                continue;
            const char type = line.at(percent + 1);
            const int part = type == '1' ? 0 : type == '2' ? 1 : (type == '3' || type == '5') ? 2 : -1;
            if (part >= 0)
                counts[lemma][part] += line.mid(space + 1).toInt();
        }
    }

    struct Ranked {
        QString word;
        int count;
    };
    std::array<QList<Ranked>, 3> ranked;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        const std::array<int, 3>& byPart = it.value();
        const int total = byPart[0] + byPart[1] + byPart[2];
        const auto top = std::max_element(byPart.begin(), byPart.end());
        // Common, and clearly one part of speech, so that a sentence built from parts reads right.
        if (*top < 5 || *top * 10 < total * 7)
            continue;
        ranked[top - byPart.begin()].append({it.key(), *top});
        common_.insert(it.key());
    }
    for (int part = 0; part < 3; ++part) {
        std::sort(ranked[part].begin(), ranked[part].end(), [](const Ranked& a, const Ranked& b) {
            return a.count != b.count ? a.count > b.count : a.word < b.word;
        });
        for (const Ranked& entry : std::as_const(ranked[part])) {
            byLetter_[part][entry.word.at(0)].append(entry.word);
            if (part == int(Part::noun))
                nounsByEnding_[rhymeEnding(entry.word)].append(entry.word);
        }
    }
}

QStringList CommonWords::starting(QChar letter, Part part) const {
    return byLetter_[int(part)].value(letter.toLower());
}

QString CommonWords::sortedLetters(QString letters) {
    std::sort(letters.begin(), letters.end());
    return letters;
}

QStringList CommonWords::rhymes(const QString& word) const {
    const QString lower = word.toLower();
    QStringList found;
    for (const QString& noun : nounsByEnding_.value(rhymeEnding(lower)))
        // A word rhymes with another, not with itself or a word that ends in it.
        if (!noun.endsWith(lower) && !lower.endsWith(noun))
            found.append(noun);
    return found;
}

QString CommonWords::rhymeEnding(const QString& word) {
    QString lower = word.toLower();
    // A plural rhymes as its singular: "proteins" as "protein".
    if (lower.size() > 3 && lower.endsWith(u's') && !lower.endsWith(QStringLiteral("ss")) &&
        !lower.endsWith(QStringLiteral("us")) && !lower.endsWith(QStringLiteral("is")))
        lower.chop(1);
    qsizetype end = lower.size();
    // A final silent "e" after a consonant belongs to the vowel before it: "membrane".
    if (end > 2 && lower.endsWith(u'e') && !isVowel(lower, end - 2))
        end -= 2;
    qsizetype at = end - 1;
    while (at >= 0 && !isVowel(lower, at))
        --at;
    while (at > 0 && isVowel(lower, at - 1))
        --at;
    at = std::max<qsizetype>(0, std::min(at, lower.size() - 2));
    return lower.mid(at);
}
