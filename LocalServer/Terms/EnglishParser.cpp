#include "Terms/EnglishParser.h"

#include <QLoggingCategory>
#include <QRegularExpression>
#include <link-grammar/dict-api.h>
#include <link-grammar/dict-defines.h>
#include <link-grammar/link-includes.h>

namespace {

Q_LOGGING_CATEGORY(lcParser, "orbelo.server.terms")

// The parser's messages (locale notes, unknown words) are no business of the server log's.
void quiet(lg_errinfo*, void*) {}

// The part of speech a dictionary subscript stands for: "cell.n", "run.v-d", "blue.a".
EnglishParser::Tag tagOfSubscript(QStringView subscript) {
    if (subscript.isEmpty())
        return EnglishParser::Tag::other;
    switch (subscript.front().toLatin1()) {
    case 'n':
    case 's':
        return EnglishParser::Tag::noun;
    case 'a':
        return EnglishParser::Tag::adjective;
    case 'v':
    case 'q':
    case 'w':
    case 'g':
        return EnglishParser::Tag::verb;
    case 'm':
    case 'f':
    case 'b':
    case 'l':
        return EnglishParser::Tag::properNoun;
    default:
        return EnglishParser::Tag::other;
    }
}

// A linkage word: "stage.n", "Glycolysis[!<CAPITALIZED-WORDS>]", "acetyl-CoA[!<HYPHENATED-WORDS>].n".
EnglishParser::Tag tagOfLinkageWord(const QString& word) {
    const qsizetype guess = word.indexOf(QLatin1String("[!"));
    const qsizetype dot = word.lastIndexOf('.');
    const bool hasSubscript = dot > 0 && dot + 1 < word.size() && word.at(dot + 1).isLower() &&
                              (guess < 0 || dot > word.indexOf(']', guess));
    if (hasSubscript)
        return tagOfSubscript(QStringView(word).mid(dot + 1));
    if (guess >= 0)
        return word.contains(QLatin1String("CAPITALIZED")) || word.contains(QLatin1String("ALL-UPPER"))
                   ? EnglishParser::Tag::properNoun
                   : EnglishParser::Tag::unknown;
    if (word.contains(QLatin1String("[?]")))
        return EnglishParser::Tag::unknown;
    return EnglishParser::Tag::other;
}

struct Options {
    Options() {
        handle = parse_options_create();
        parse_options_set_verbosity(handle, 0);
        parse_options_set_max_parse_time(handle, 1);
        parse_options_set_linkage_limit(handle, 20);
        parse_options_set_repeatable_rand(handle, true);
        parse_options_set_spell_guess(handle, 0);
        parse_options_set_islands_ok(handle, true);
    }
    ~Options() { parse_options_delete(handle); }
    Parse_Options handle;
};

} // namespace

EnglishParser::EnglishParser() {
    lg_error_set_handler(quiet, nullptr);
    dictionary_ = dictionary_create_lang("en");
    if (!dictionary_)
        qCWarning(lcParser) << "link-grammar's English dictionary could not be loaded; key terms come "
                               "from the text's layout and definitions only";
}

EnglishParser::~EnglishParser() {
    if (dictionary_)
        dictionary_delete(dictionary_);
}

const EnglishParser& EnglishParser::instance() {
    static const EnglishParser parser;
    return parser;
}

QList<EnglishParser::Word> EnglishParser::parse(const QString& sentence) const {
    static const QRegularExpression spaces(R"(\s+)");
    if (!dictionary_ || sentence.split(spaces, Qt::SkipEmptyParts).size() > maxParsedWords)
        return {};
    const QByteArray utf8 = sentence.toUtf8();
    Options options;
    Sentence parsed = sentence_create(utf8.constData(), dictionary_);
    QList<Word> words;
    if (parsed && sentence_split(parsed, options.handle) == 0) {
        // A sentence without a full parse is tagged from the dictionary: parsing again with words
        // left out costs many times more.
        if (sentence_parse(parsed, options.handle) > 0) {
            Linkage linkage = linkage_create(0, parsed, options.handle);
            for (int i = 0; linkage && i < int(linkage_get_num_words(linkage)); ++i) {
                const int start = linkage_get_word_byte_start(linkage, i);
                const int end = linkage_get_word_byte_end(linkage, i);
                if (start < 0 || end <= start || end > utf8.size())
                    continue; // the walls
                words.append({QString::fromUtf8(utf8.mid(start, end - start)),
                              tagOfLinkageWord(QString::fromUtf8(linkage_get_word(linkage, i)))});
            }
            if (linkage)
                linkage_delete(linkage);
        }
    }
    if (parsed)
        sentence_delete(parsed);
    return words;
}

EnglishParser::Tag EnglishParser::lookup(const QString& word) const {
    if (!dictionary_)
        return Tag::unknown;
    const QByteArray utf8 = word.toUtf8();
    Dict_node* entries = dictionary_lookup_list(dictionary_, utf8.constData());
    if (!entries) {
        const QByteArray lower = word.toLower().toUtf8();
        entries = dictionary_lookup_list(dictionary_, lower.constData());
    }
    if (!entries)
        return Tag::unknown;
    bool noun = false, adjective = false, verb = false, proper = false, other = false;
    for (Dict_node* entry = entries; entry; entry = entry->right) {
        const QString text = QString::fromUtf8(entry->string);
        const qsizetype mark = text.indexOf(QChar(SUBSCRIPT_MARK));
        const Tag tag = mark < 0 ? Tag::other : tagOfSubscript(QStringView(text).mid(mark + 1));
        noun |= tag == Tag::noun;
        adjective |= tag == Tag::adjective;
        verb |= tag == Tag::verb;
        proper |= tag == Tag::properNoun;
        other |= tag == Tag::other;
    }
    free_lookup_list(dictionary_, entries);
    if (other && !noun && !adjective)
        return Tag::other; // determiners, pronouns, prepositions
    return noun        ? Tag::noun
           : adjective ? Tag::adjective
           : verb      ? Tag::verb
           : proper    ? Tag::properNoun
                       : Tag::other;
}
