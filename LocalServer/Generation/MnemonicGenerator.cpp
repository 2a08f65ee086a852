#include "MnemonicGenerator.h"

#include "AcronymOrder.h"
#include "CommonWords.h"
#include "MnemonicGuideWriter.h"

#include <QSet>
#include <algorithm>

namespace {

using Writer = MnemonicGuideWriter;

// FNV-1a: the same choices for the same terms in every run (qHash is seeded per process).
quint32 stableHash(const QString& text, quint32 salt = 0) {
    quint32 hash = 2166136261u ^ salt;
    for (const QChar c : text) {
        hash ^= c.unicode();
        hash *= 16777619u;
    }
    return hash;
}

// The first letter of a term, lower-case and without its accent: "Émile" → "e". Null when the
// term has no letter.
QChar initialOf(const QString& term) {
    for (const QChar c : term.normalized(QString::NormalizationForm_D))
        if (c.isLetter())
            return c.toLower();
    return {};
}

QString capitalized(QString text) {
    if (!text.isEmpty())
        text[0] = text.at(0).toUpper();
    return text;
}

// A definition starts with a capital as a sentence would; inside one it does not, unless its
// first word is an abbreviation ("ATP is …").
QString lowerFirst(QString text) {
    const QString first = text.section(u' ', 0, 0);
    const bool abbreviation = first.size() > 1 && first == first.toUpper() && first != first.toLower();
    if (!text.isEmpty() && text.at(0).isUpper() && !abbreviation)
        text[0] = text.at(0).toLower();
    return text;
}

int definitionWords(const QString& difficulty) {
    return difficulty == "easy" ? 10 : difficulty == "medium" ? 20 : 1000;
}

QString shortened(const QString& text, int maxWords) {
    QStringList words = text.simplified().split(' ', Qt::SkipEmptyParts);
    const bool cut = words.size() > maxWords;
    words = words.mid(0, maxWords);
    QString result = words.join(' ');
    while (!result.isEmpty() && (result.back().isPunct() && result.back() != u')'))
        result.chop(1);
    return cut ? result + QStringLiteral("…") : result;
}

// The term and what it means as one clause: "osmosis is the movement of water …". Definitions
// that already name the term ("The sodium-potassium pump moves …") stand as they are.
QString describe(const KeyTerm& term, const QString& difficulty) {
    const QString definition = shortened(term.definition, definitionWords(difficulty));
    if (definition.isEmpty())
        return term.term;
    if (definition.left(term.term.size() + 12).contains(term.term, Qt::CaseInsensitive))
        return definition;
    return term.term + QStringLiteral(" is ") + lowerFirst(definition);
}

// The term's sentence from the text, told only at the hardest difficulty.
QString withContext(const QString& text, const KeyTerm& term, const QString& difficulty) {
    if (difficulty != "hard" || term.context.isEmpty())
        return text;
    return text + QStringLiteral(" In the text: ") + term.context;
}

QString article(const QString& noun) {
    return (QStringLiteral("aeiou").contains(noun.at(0)) ? QStringLiteral("an ") : QStringLiteral("a ")) +
           noun;
}

QString summaryFor(const QString& topic, const QString& text) {
    return topic.isEmpty() ? text : QStringLiteral("These cover %1. %2").arg(topic, text);
}

QStringList termNames(const QList<KeyTerm>& terms) {
    QStringList names;
    for (const KeyTerm& term : terms)
        names.append(term.term);
    return names;
}

MnemonicGenerator::Mnemonic acronym(const QList<KeyTerm>& given, const MnemonicGenerator::Request& request) {
    QString initials;
    for (const KeyTerm& term : given)
        initials += initialOf(term.term);
    MnemonicGenerator::Mnemonic result;
    QString word;
    for (const int at : AcronymOrder::best(initials)) {
        result.terms.append(given.at(at));
        word += initials.at(at).toUpper();
    }
    const CommonWords& words = CommonWords::instance();
    const QString lower = word.toLower();
    QStringList spelled;
    for (const QChar letter : word)
        spelled.append(letter);
    const QString howToSay =
        words.isCommon(lower) || words.contains(lower)
            ? QStringLiteral("“%1” is a real word, so it is easy to picture.").arg(lower)
        : AcronymOrder::pronounceability(lower) > 0
            ? QStringLiteral("Say it as one word: %1.").arg(word)
            : QStringLiteral("Spell it out, letter by letter: %1.").arg(spelled.join(u'-'));
    Writer writer;
    writer.summary(summaryFor(request.topic,
                              QStringLiteral("Say “%1” aloud, then name the term each letter stands for and "
                                             "what it means. Cover the table's last two columns to test "
                                             "yourself.")
                                  .arg(word)));
    QList<QPair<QString, QString>> letters;
    QList<QStringList> rows;
    QStringList legend;
    for (qsizetype i = 0; i < result.terms.size(); ++i) {
        const KeyTerm& term = result.terms.at(i);
        const QString letter = word.mid(i, 1);
        letters.append({letter, term.term});
        rows.append({letter, term.term, shortened(term.definition, definitionWords(request.difficulty))});
        legend.append(letter + QStringLiteral(" = ") + term.term);
    }
    writer.card(QStringLiteral("Your acronym: ") + word,
                Writer::strongParagraph(word) + Writer::paragraph(howToSay) + Writer::grid(letters));
    for (qsizetype i = 0; i < result.terms.size(); ++i) {
        const KeyTerm& term = result.terms.at(i);
        writer.card(QStringLiteral("%1 is for %2").arg(word.at(i)).arg(term.term),
                    Writer::paragraph(capitalized(
                        withContext(describe(term, request.difficulty) + '.', term, request.difficulty))));
    }
    writer.card(
        QStringLiteral("Letters, terms and meanings"),
        Writer::table({QStringLiteral("Letter"), QStringLiteral("Term"), QStringLiteral("Meaning")}, rows));
    writer.tip(QStringLiteral("Write %1 down the margin of a page and fill in each term from memory, then "
                              "check it against the table.")
                   .arg(word));
    result.device = word;
    result.html = writer.html();
    result.explanation = QStringLiteral("%1: %2. %3").arg(word, legend.join(QStringLiteral(", ")), howToSay);
    return result;
}

// Word shapes of an acrostic clause of each length: adjective, noun, verb, adjective, plural noun.
using Part = CommonWords::Part;
enum class Form { plain, thirdPerson, plural };
struct Slot {
    Part part;
    Form form;
};

QList<Slot> clauseShape(qsizetype length) {
    switch (length) {
    case 1:
        return {{Part::noun, Form::plain}};
    case 2:
        return {{Part::adjective, Form::plain}, {Part::noun, Form::plural}};
    case 3:
        return {{Part::adjective, Form::plain}, {Part::noun, Form::plain}, {Part::verb, Form::thirdPerson}};
    case 4:
        return {{Part::adjective, Form::plain},
                {Part::noun, Form::plain},
                {Part::verb, Form::thirdPerson},
                {Part::noun, Form::plural}};
    default:
        return {{Part::adjective, Form::plain},
                {Part::noun, Form::plain},
                {Part::verb, Form::thirdPerson},
                {Part::adjective, Form::plain},
                {Part::noun, Form::plural}};
    }
}

QString inflected(const QString& word, Form form) {
    if (form == Form::plain)
        return word;
    if (word.endsWith(u's') || word.endsWith(u'x') || word.endsWith(u'z') ||
        word.endsWith(QStringLiteral("ch")) || word.endsWith(QStringLiteral("sh")))
        return word + QStringLiteral("es");
    if (word.endsWith(u'y') && word.size() > 1 && !QStringLiteral("aeiou").contains(word.at(word.size() - 2)))
        return word.chopped(1) + QStringLiteral("ies");
    return word + u's';
}

// A common word for the letter in the slot's shape, the same for the same term; a word the
// sentence already has is passed over. Falls back to another part of speech, then to any word of
// the list, then to the term's own first word.
QString acrosticWord(const KeyTerm& term, qsizetype position, const Slot& slot, QSet<QString>& used) {
    const CommonWords& words = CommonWords::instance();
    const QChar letter = initialOf(term.term);
    const quint32 seed = stableHash(term.term, quint32(position));
    const Part parts[] = {slot.part, Part::noun, Part::adjective, Part::verb};
    for (const Part part : parts) {
        const QStringList candidates = words.starting(letter, part).mid(0, 12);
        for (qsizetype i = 0; i < candidates.size(); ++i) {
            const QString base = candidates.at((seed + i) % candidates.size());
            const QString word = inflected(base, part == slot.part ? slot.form : Form::plain);
            if (!used.contains(base) && words.contains(word)) {
                used.insert(base);
                return word;
            }
        }
    }
    if (const QString any = words.anyStarting(letter); !any.isEmpty())
        return any;
    return term.term.section(' ', 0, 0, QString::SectionSkipEmpty);
}

MnemonicGenerator::Mnemonic acrostic(const QList<KeyTerm>& terms, const MnemonicGenerator::Request& request) {
    // Clauses of up to five words, the longer ones first: 7 → 4 + 3.
    const qsizetype clauses = (terms.size() + 4) / 5;
    QStringList sentenceWords;
    QStringList clauseTexts;
    QSet<QString> used;
    qsizetype at = 0;
    for (qsizetype c = 0; c < clauses; ++c) {
        const qsizetype length = (terms.size() - at + (clauses - c) - 1) / (clauses - c);
        const QList<Slot> shape = clauseShape(length);
        QStringList clause;
        for (qsizetype i = 0; i < length; ++i, ++at) {
            const QString word = capitalized(acrosticWord(terms.at(at), at, shape.at(i), used));
            clause.append(word);
            sentenceWords.append(word);
        }
        clauseTexts.append(clause.join(' '));
    }
    const QString sentence = clauseTexts.join(QStringLiteral(", ")) + u'.';

    Writer writer;
    writer.summary(summaryFor(request.topic,
                              QStringLiteral("Learn the sentence by heart. Each word begins with the first "
                                             "letter of a term, in order: say a word, then the term it "
                                             "stands for, then what it means.")));
    QList<QPair<QString, QString>> pairs;
    QStringList legend;
    for (qsizetype i = 0; i < terms.size(); ++i) {
        pairs.append({sentenceWords.at(i), terms.at(i).term});
        legend.append(sentenceWords.at(i) + QStringLiteral(" → ") + terms.at(i).term);
    }
    writer.card(QStringLiteral("Your sentence"), Writer::strongParagraph(sentence) + Writer::grid(pairs));
    for (qsizetype i = 0; i < terms.size(); ++i)
        writer.card(QStringLiteral("%1. %2 → %3").arg(i + 1).arg(sentenceWords.at(i), terms.at(i).term),
                    Writer::paragraph(capitalized(withContext(describe(terms.at(i), request.difficulty) + '.',
                                                              terms.at(i), request.difficulty))));
    writer.tip(QStringLiteral("Picture the sentence as a scene and say it aloud a few times; the odder the "
                              "picture, the longer it stays."));
    MnemonicGenerator::Mnemonic result;
    result.terms = terms;
    result.device = sentence;
    result.html = writer.html();
    result.explanation = QStringLiteral("“%1” — %2.").arg(sentence, legend.join(QStringLiteral(", ")));
    return result;
}

// Words a line may stop before, so that it ends where a phrase does: "… across a membrane | from …".
bool startsPhrase(const QString& word) {
    static const QSet<QString> words{"from",    "to",      "that",   "which",   "in",      "of", "with",
                                     "against", "across",  "for",    "without", "using",   "by", "into",
                                     "through", "where",   "when",   "while",   "and",     "or", "on",
                                     "at",      "between", "within", "during",  "because", "so"};
    return words.contains(word.toLower());
}

QString bareWord(QString word) {
    word = word.toLower();
    while (!word.isEmpty() && !word.back().isLetter())
        word.chop(1);
    return word;
}

MnemonicGenerator::Mnemonic rhyme(const QList<KeyTerm>& terms, const MnemonicGenerator::Request& request) {
    const int maxWords = request.difficulty == "easy" ? 8 : request.difficulty == "medium" ? 12 : 18;
    const CommonWords& words = CommonWords::instance();
    Writer writer;
    writer.summary(summaryFor(request.topic,
                              QStringLiteral("Read each couplet aloud twice. The first line tells what the "
                                             "term means; the rhyme at the end of the second brings it "
                                             "back. Rhymes are matched by spelling, so some are rough.")));
    QList<QStringList> couplets;
    QList<QPair<QString, QString>> pairs;
    for (const KeyTerm& term : terms) {
        // Plain text: the definition is cut at the word, not shortened with an ellipsis.
        const QStringList statement =
            describe({term.term, term.definition.simplified(), {}}, "hard").split(' ', Qt::SkipEmptyParts);
        const quint32 seed = stableHash(term.term);
        // The line ends where a phrase does, on the last word before maxWords that has a rhyme.
        const qsizetype limit = std::min<qsizetype>(statement.size(), maxWords);
        qsizetype cut = limit - 1;
        QString rhymeWord;
        for (qsizetype k = limit - 1; k >= 2 && rhymeWord.isEmpty(); --k) {
            if (k + 1 < statement.size() && !startsPhrase(statement.at(k + 1)))
                continue;
            const QString last = bareWord(statement.at(k));
            const QStringList found =
                last.size() < 3 || startsPhrase(last) ? QStringList() : words.rhymes(last).mid(0, 8);
            if (!found.isEmpty()) {
                rhymeWord = found.at(seed % found.size());
                // A plural rhymes with a plural: "proteins", "veins".
                if (last.endsWith(u's') && !rhymeWord.endsWith(u's') &&
                    words.contains(inflected(rhymeWord, Form::plural)))
                    rhymeWord = inflected(rhymeWord, Form::plural);
                cut = k;
            }
        }
        QString first = capitalized(statement.mid(0, cut + 1).join(' '));
        while (!first.isEmpty() && first.back().isPunct())
            first.chop(1);
        QString second;
        if (rhymeWord.isEmpty()) {
            second = QStringLiteral("and that is %1, remembered through and through.").arg(term.term);
        } else {
            static const char* const shapes[] = {"so picture %1 beside the %2.",
                                                 "and %1 will stick like the %2.",
                                                 "tie %1 in your mind to the %2."};
            second = QString::fromLatin1(shapes[(seed >> 8) % 3]).arg(term.term, rhymeWord);
        }
        couplets.append({first + u',', second});
        pairs.append({term.term, rhymeWord.isEmpty() ? QStringLiteral("no rhyme found")
                                                     : QStringLiteral("rhymes with “%1”").arg(rhymeWord)});
    }
    writer.card(QStringLiteral("Your rhymes"), Writer::grid(pairs));
    for (qsizetype i = 0; i < terms.size(); ++i)
        writer.card(QStringLiteral("Couplet %1: %2").arg(i + 1).arg(terms.at(i).term),
                    Writer::lines(couplets.at(i)));
    writer.tip(QStringLiteral("Clap the beat as you read; a line you can sing is a line you keep."));
    MnemonicGenerator::Mnemonic result;
    result.terms = terms;
    result.device = couplets.first().join(' ');
    result.html = writer.html();
    result.explanation =
        QStringLiteral("A rhyming couplet for each of %1 terms, the rhymes found by word endings: "
                       "%2")
            .arg(terms.size())
            .arg(result.device);
    return result;
}

MnemonicGenerator::Mnemonic story(const QList<KeyTerm>& terms, const MnemonicGenerator::Request& request) {
    static const char* const heroes[] = {"Maya", "Leo", "Ava", "Sam", "Nora", "Theo", "Iris", "Omar"};
    static const char* const middles[] = {"Next, %1 ran into %2.", "Then %1 found %2.",
                                          "After that, %1 came across %2.", "Further on, %1 discovered %2."};
    const QString hero =
        QString::fromLatin1(heroes[stableHash(termNames(terms).join('|')) % std::size(heroes)]);
    QStringList scenes;
    for (qsizetype i = 0; i < terms.size(); ++i) {
        const KeyTerm& term = terms.at(i);
        const QString meeting =
            terms.size() == 1 ? QStringLiteral("%1 met %2.").arg(hero, term.term)
            : i == 0          ? QStringLiteral("First, %1 met %2.").arg(hero, term.term)
            : i == terms.size() - 1
                ? QStringLiteral("Finally, %1 reached %2.").arg(hero, term.term)
                : QString::fromLatin1(middles[(i - 1) % std::size(middles)]).arg(hero, term.term);
        scenes.append(
            meeting + u' ' +
            capitalized(withContext(describe(term, request.difficulty) + u'.', term, request.difficulty)));
    }
    const QString opening =
        QStringLiteral("%1 set out to learn about %2.")
            .arg(hero, request.topic.isEmpty() ? QStringLiteral("some new ideas") : request.topic);
    Writer writer;
    writer.summary(summaryFor(request.topic,
                              QStringLiteral("Read the story once, then retell it from memory in the same "
                                             "order: each scene brings back one term and what it means.")));
    QList<QPair<QString, QString>> pairs;
    for (qsizetype i = 0; i < terms.size(); ++i)
        pairs.append({QStringLiteral("Scene %1").arg(i + 1), terms.at(i).term});
    writer.card(QStringLiteral("Your story: %1's journey").arg(hero),
                Writer::paragraph(opening) + Writer::grid(pairs));
    for (qsizetype i = 0; i < terms.size(); ++i)
        writer.card(QStringLiteral("Scene %1: %2").arg(i + 1).arg(terms.at(i).term),
                    Writer::paragraph(scenes.at(i)));
    writer.tip(QStringLiteral("Retell the story aloud in order; a scene you cannot picture is a term to read "
                              "again."));
    MnemonicGenerator::Mnemonic result;
    result.terms = terms;
    result.device =
        QStringLiteral("%1's journey: %2").arg(hero, termNames(terms).join(QStringLiteral(" → ")));
    result.html = writer.html();
    result.explanation = QStringLiteral("A story in which %1 meets %2 in turn.")
                             .arg(hero, termNames(terms).join(QStringLiteral(", ")));
    return result;
}

struct Room {
    const char* place; // with its preposition
    const char* name;
    const char* object;
};

const Room rooms[] = {{"At the front door", "front door", "doormat"},
                      {"In the hallway", "hallway", "coat rack"},
                      {"In the kitchen", "kitchen", "fridge"},
                      {"In the living room", "living room", "sofa"},
                      {"In the dining room", "dining room", "table"},
                      {"On the staircase", "staircase", "banister"},
                      {"In the bathroom", "bathroom", "bathtub"},
                      {"In the bedroom", "bedroom", "pillow"},
                      {"In the study", "study", "desk"},
                      {"In the attic", "attic", "old trunk"},
                      {"In the garden", "garden", "flower bed"},
                      {"In the garage", "garage", "workbench"}};

MnemonicGenerator::Mnemonic loci(const QList<KeyTerm>& terms, const MnemonicGenerator::Request& request) {
    static const char* const images[] = {
        "glowing bright orange",       "ten feet tall",          "singing at the top of its voice",
        "dripping with blue paint",    "spinning like a top",    "made entirely of jelly",
        "wearing a tiny golden crown", "bouncing off the walls", "covered in flashing lights"};
    Writer writer;
    writer.summary(summaryFor(
        request.topic, QStringLiteral("Walk through a home you know, room by room, and meet each term "
                                      "where it is placed. To recall them, walk the same path again.")));
    QList<QPair<QString, QString>> pairs;
    QList<QStringList> rows;
    QStringList scenes;
    QStringList legend;
    QSet<qsizetype> usedImages;
    for (qsizetype i = 0; i < terms.size(); ++i) {
        const KeyTerm& term = terms.at(i);
        const Room& room = rooms[i];
        // Each room its own image while there are images left.
        qsizetype pick = stableHash(term.term) % std::size(images);
        while (usedImages.contains(pick) && usedImages.size() < qsizetype(std::size(images)))
            pick = (pick + 1) % std::size(images);
        usedImages.insert(pick);
        const QString image = QString::fromLatin1(images[pick]);
        const QString picture =
            QStringLiteral("%1 on the %2, %3").arg(term.term, QString::fromLatin1(room.object), image);
        scenes.append(QStringLiteral("%1, picture %2. %3")
                          .arg(QString::fromLatin1(room.place), picture,
                               capitalized(withContext(describe(term, request.difficulty) + u'.', term,
                                                       request.difficulty))));
        pairs.append({capitalized(QString::fromLatin1(room.name)), term.term});
        rows.append({capitalized(QString::fromLatin1(room.name)), term.term,
                     QStringLiteral("On the %1, %2").arg(QString::fromLatin1(room.object), image)});
        legend.append(QString::fromLatin1(room.name) + QStringLiteral(" — ") + term.term);
    }
    writer.card(QStringLiteral("Your memory palace"), Writer::grid(pairs));
    for (qsizetype i = 0; i < terms.size(); ++i)
        writer.card(QStringLiteral("Room %1, the %2: %3")
                        .arg(i + 1)
                        .arg(QString::fromLatin1(rooms[i].name), terms.at(i).term),
                    Writer::paragraph(scenes.at(i)));
    writer.card(
        QStringLiteral("Rooms, terms and images"),
        Writer::table({QStringLiteral("Room"), QStringLiteral("Term"), QStringLiteral("Image")}, rows));
    writer.tip(QStringLiteral("Use a place you know well and keep the path the same every time; the stranger "
                              "the picture, the better it sticks."));
    MnemonicGenerator::Mnemonic result;
    result.terms = terms;
    result.device = QStringLiteral("A walk from the front door to the %1")
                        .arg(QString::fromLatin1(rooms[terms.size() - 1].name));
    result.html = writer.html();
    result.explanation = QStringLiteral("A memory palace of %1 rooms: %2.")
                             .arg(terms.size())
                             .arg(legend.join(QStringLiteral(", ")));
    return result;
}

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
        return std::array{5, 8, int(std::size(rooms))}[level];
    return std::array{3, 5, 7}[level];
}

QList<KeyTerm> MnemonicGenerator::usableTerms(const QList<KeyTerm>& terms) {
    QList<KeyTerm> usable;
    QSet<QString> seen;
    for (KeyTerm term : terms) {
        term.term = term.term.simplified();
        if (initialOf(term.term).isNull() || seen.contains(term.term.toLower()))
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
    Mnemonic mnemonic = type == "acronym"    ? acronym(terms, request)
                        : type == "acrostic" ? acrostic(terms, request)
                        : type == "rhyme"    ? rhyme(terms, request)
                        : type == "story"    ? story(terms, request)
                                             : loci(terms, request);
    mnemonic.type = type;
    return mnemonic;
}
