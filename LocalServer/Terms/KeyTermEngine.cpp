#include "Terms/KeyTermEngine.h"

#include "Terms/CommonWords.h"
#include "Terms/DefinitionPatterns.h"
#include "Terms/EnglishParser.h"
#include "Terms/EnglishStemmer.h"
#include "Terms/NoteReader.h"
#include "Terms/TermWords.h"
#include "Terms/TextChunker.h"
#include "Terms/WordRarity.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <cmath>

namespace {

using Engine = KeyTermEngine;
using Source = Engine::Source;
using Tag = EnglishParser::Tag;

// Sentences parsed in full per analysis; the rest are tagged word by word from the dictionary.
constexpr int maxParsedSentences = 80;
// Below this share of English words a text is taken for another language.
constexpr double minEnglishShare = 0.5;
constexpr int minWordsForLanguage = 12;
// A recurring phrase of several words is a term when its words are at least this rare, or when
// WordNet lists it as a noun of its own.
constexpr double minPhraseRarity = 0.25;
constexpr double minHeadingWordRarity = 0.45;
// A recurring word that WordNet has as a noun and general English seldom uses: "chloroplast".
constexpr double minListedWordRarity = 0.72;
// A phrase naming another kind of what a marked term is ("sensory memory" beside "iconic memory")
// ranks between a plain phrase and an emphasised one.
constexpr double kindWeight = 2.0;

double sourceWeight(Source source) {
    switch (source) {
    case Source::definition:
    case Source::glossary:
        return 3.0;
    case Source::heading:
        return 2.5;
    case Source::emphasis:
    case Source::acronym:
        return 2.0;
    case Source::phrase:
        return 1.0;
    }
    return 1.0;
}

struct Token {
    QString text; // as written
    QString stem;
    qsizetype start = 0;
};

struct Candidate {
    QString key;                  // the stems of its words
    QHash<QString, int> surfaces; // how the text writes it away from a sentence start
    QString firstSurface;
    QSet<Source> sources;
    QString definition;
    int definingSentence = -1;
    bool defined = false;
    bool previousDefines = false; // "They call this … X": the sentence before says what X is
    int headingSection = -1;
    QStringList aliasKeys;
    QStringList aliasSurfaces;
    int occurrences = 0;
    QSet<int> sections;
    QList<int> mentions;               // sentences, in order
    QHash<int, qsizetype> firstWordIn; // by sentence: where the term is first named
    double rarity = 0;
    double score = 0;

    Source best() const {
        Source strongest = Source::phrase;
        for (const Source source : sources)
            if (sourceWeight(source) > sourceWeight(strongest))
                strongest = source;
        return strongest;
    }
    bool marked() const { return best() != Source::phrase; }
};

struct SentenceData {
    Engine::Sentence out;
    QList<Token> tokens;
    int section = 0;
    bool heading = false; // Title Case is the heading's style, not the term's
};

class Analyzer {
public:
    Engine::Analysis run(const QStringList& texts) {
        for (int source = 0; source < texts.size(); ++source)
            read(texts[source], source);
        Engine::Analysis analysis;
        analysis.english = isEnglish();
        if (analysis.english) {
            findPhrases();
            count();
            const QList<QString> chosen = choose();
            QList<QString> kept;
            for (const QString& key : chosen) {
                Engine::Term term = termOf(candidates_[key]);
                // A card needs something on its back.
                if (!term.definition.contains(' ') ||
                    term.definition.compare(term.term, Qt::CaseInsensitive) == 0)
                    continue;
                analysis.terms.append(term);
                kept.append(key);
            }
            linkMentions(kept);
        }
        for (const SentenceData& sentence : std::as_const(sentences_))
            analysis.sentences.append(sentence.out);
        analysis.sections = sections_;
        return analysis;
    }

private:
    // Reading: blocks into sentences and sections, and the candidates that the layout and the
    // definitions give.
    void read(const QString& text, int source) {
        sections_.append({QString(), source, {}});
        for (const NoteReader::Block& block : NoteReader::read(text)) {
            switch (block.kind) {
            case NoteReader::Kind::heading:
                sections_.append({block.text, source, {}});
                sentences_[addSentence(block.text, false)].heading = true;
                for (const QString& term : TermWords::termsOfHeading(block.text))
                    if (isHeadingTerm(term))
                        if (Candidate* candidate = addCandidate(term, Source::heading, {}, -1))
                            candidate->headingSection = int(sections_.size()) - 1;
                break;
            case NoteReader::Kind::glossary: {
                const int at = addSentence(block.text, false);
                for (const auto& found : DefinitionPatterns::find(block.term + " is " + block.meaning))
                    if (found.acronymOnly)
                        addAcronym(found, at);
                // "Domestic system (putting-out system): …": a second name in brackets.
                static const QRegularExpression bracketed(R"(^(.+?)\s*\(([^()]{2,40})\)\s*$)");
                const auto named = bracketed.match(block.term);
                const QString term = named.hasMatch() ? named.captured(1) : block.term;
                if (Candidate* candidate = addCandidate(term, Source::glossary, block.meaning, at)) {
                    candidate->defined = true;
                    if (named.hasMatch())
                        addAlias(*candidate, named.captured(2));
                }
                break;
            }
            case NoteReader::Kind::item:
            case NoteReader::Kind::prose:
                for (const QString& sentence : TextChunker::sentences(block.text)) {
                    const bool full = block.kind == NoteReader::Kind::prose ? sentence.split(' ').size() >= 4
                                                                            : isFullSentence(sentence);
                    const int at = addSentence(sentence, full);
                    findDefinitions(sentence, at);
                    findOtherNames(at);
                    // Typed notes run clauses together with commas: each clause can define a term.
                    if (sentence.count(' ') >= TermWords::runOnWords)
                        for (const QString& clause : TermWords::clauses(sentence))
                            findClauseDefinitions(clause, at);
                    // "…, while an Arrhenius base increases …", "…: a Lewis acid is …"
                    for (const QString& clause : TermWords::joinedClauses(sentence))
                        findDefinitions(clause, at, false);
                }
                break;
            }
            for (const QString& emphasised : block.emphasis)
                addCandidate(emphasised, Source::emphasis, {}, int(sentences_.size()) - 1);
        }
    }

    // A heading names a term when it is a noun phrase ("Steam power", "The Krebs cycle"), not a
    // line of its own ("Textiles lead the way", "Life in industrial towns"), and a lone word only
    // when it is not everyday English ("Glycolysis", not "Transport").
    bool isHeadingTerm(const QString& term) {
        const QStringList words = term.split(' ', Qt::SkipEmptyParts);
        if (words.size() == 1)
            return TermWords::isAcronymLike(words.first()) ||
                   WordRarity::instance().of(words.first().toLower()) >= minHeadingWordRarity;
        for (qsizetype i = 0; i < words.size(); ++i) {
            const QString lower = words[i].toLower();
            const Tag tag = tagOf(words[i]);
            if (lower == QLatin1String("of") && i > 0 && i + 1 < words.size())
                continue;
            if (tag == Tag::other || (tag == Tag::verb && i + 1 == words.size()))
                return false;
        }
        const Tag last = tagOf(words.last());
        return last == Tag::noun || last == Tag::properNoun;
    }

    static bool isFullSentence(const QString& text) {
        return text.split(' ', Qt::SkipEmptyParts).size() >= 5 && QStringLiteral(".!?").contains(text.back());
    }

    int addSentence(const QString& text, bool prose) {
        SentenceData sentence;
        sentence.out.text = text;
        sentence.out.source = sections_.back().source;
        sentence.out.heading = sections_.back().heading;
        sentence.out.prose = prose;
        sentence.tokens = tokenize(text);
        sentence.section = int(sections_.size()) - 1;
        sentences_.append(sentence);
        sections_.back().sentences.append(int(sentences_.size()) - 1);
        return int(sentences_.size()) - 1;
    }

    // The noun phrase that ends right before `position`: up to three words back to a function word,
    // a verb or a comma, its last word a noun ("in fact false, a false negative" names nothing).
    QStringList phraseBefore(const SentenceData& sentence, qsizetype position) {
        QStringList words;
        for (qsizetype t = sentence.tokens.size() - 1; t >= 0 && words.size() < 3; --t) {
            const Token& token = sentence.tokens[t];
            if (token.start >= position)
                continue;
            const Tag tag = tagOf(token.text);
            const qsizetype end = token.start + token.text.size();
            if ((words.isEmpty() && (!sentence.out.text.mid(end, position - end).trimmed().isEmpty() ||
                                     (tag != Tag::noun && tag != Tag::properNoun))) ||
                TermWords::isStopWord(token.text.toLower()) || tag == Tag::verb)
                break;
            words.prepend(token.text);
            const qsizetype gapStart =
                t > 0 ? sentence.tokens[t - 1].start + sentence.tokens[t - 1].text.size() : 0;
            if (sentence.out.text.mid(gapStart, token.start - gapStart).contains(','))
                break;
        }
        return words;
    }

    // "… we compute a test statistic, a number that measures …": the noun phrase before the comma
    // is what the appositive defines.
    void findAppositives(int at) {
        static const QRegularExpression appositive(R"(,\s+((?:a|an)\s+[^,;()]{3,90}?)(?:,|;|\.$))");
        const SentenceData& sentence = sentences_[at];
        for (auto it = appositive.globalMatch(sentence.out.text); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            const QStringList words = phraseBefore(sentence, match.capturedStart());
            if (!words.isEmpty())
                if (Candidate* candidate =
                        addCandidate(words.join(' '), Source::definition, match.captured(1), at))
                    candidate->defined = true;
        }
        // "… and many smaller ones called tectonic plates", "a region known as the Fertile Crescent".
        static const QRegularExpression named(
            R"(\b(?:called|known\s+as|termed|described\s+as|referred\s+to\s+as)\s+(?:the\s+|an?\s+)?([\p{L}][\p{L}'’\-]*(?:\s+[\p{L}][\p{L}'’\-]*){0,2})\s*(?:[,.;:()]|$))",
            QRegularExpression::CaseInsensitiveOption);
        for (auto it = named.globalMatch(sentence.out.text); it.hasNext();)
            addCandidate(it.next().captured(1), Source::definition, sentence.out.text, at);
    }

    // A term the notes give a second name: "a divergent (constructive) boundary", "explicit memory
    // aka declarative memory", "the multi-store model (aka modal model)".
    void findOtherNames(int at) {
        static const QRegularExpression bracketedModifier(
            R"(\b([\p{Ll}][\p{L}\-]+)\s+\(([\p{Ll}][\p{L}\-]+)\)\s+([\p{Ll}][\p{L}\-]+))");
        static const QRegularExpression aka(
            R"(\s+\(?(?:aka|a\.k\.a\.?|also\s+known\s+as)\s+((?:[\p{L}][\p{L}\-]*)(?:\s+[\p{L}][\p{L}\-]*){0,2}))",
            QRegularExpression::CaseInsensitiveOption);
        const SentenceData& sentence = sentences_[at];
        const QString& text = sentence.out.text;
        for (auto it = bracketedModifier.globalMatch(text); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            const QString head = match.captured(3);
            if (TermWords::isStopWord(match.captured(1)) || tagOf(head) != Tag::noun)
                continue;
            if (Candidate* candidate =
                    addCandidate(match.captured(1) + ' ' + head, Source::definition, {}, at))
                addAlias(*candidate, match.captured(2) + ' ' + head);
        }
        for (auto it = aka.globalMatch(text); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            const QStringList words = phraseBefore(sentence, match.capturedStart());
            QStringList other = match.captured(1).split(' ');
            while (other.size() > 1 &&
                   (TermWords::isStopWord(other.last().toLower()) || tagOf(other.last()) == Tag::verb))
                other.removeLast();
            if (words.isEmpty())
                continue;
            if (Candidate* candidate = addCandidate(words.join(' '), Source::definition, {}, at))
                addAlias(*candidate, other.join(' '));
        }
    }

    // "A strong acid, such as …, ionizes …", "An Arrhenius base increases …": a sentence about any
    // member of a kind names a term of the subject.
    void findGenericSubject(const QString& clause, int at) {
        static const QRegularExpression generic(
            R"(^(?:an?)\s+([\p{L}][\p{L}'’\-–]*(?:\s+[\p{L}][\p{L}'’\-–]*){0,3}?)(?:,[^,]{3,60},)?\s+(\p{Ll}+)\b)",
            QRegularExpression::CaseInsensitiveOption);
        const auto match = generic.match(clause);
        if (!match.hasMatch() || tagOf(match.captured(2)) != Tag::verb)
            return;
        const QString phrase = match.captured(1);
        if (phrase.contains(' ') || WordRarity::instance().of(phrase.toLower()) >= minHeadingWordRarity)
            addCandidate(phrase, Source::emphasis, clause, at);
    }

    void findDefinitions(const QString& sentence, int at, bool whole = true) {
        // The patterns' clauses first: a candidate keeps the first definition of its strength.
        findPatterns(sentence, at);
        findGenericSubject(sentence, at);
        if (whole && !DefinitionPatterns::startsWithAppositive(sentence))
            findAppositives(at);
    }

    void findPatterns(const QString& sentence, int at) {
        record(DefinitionPatterns::find(sentence), at, true);
    }

    // A clause of a run-on sentence: the sentence's own pass has read its acronyms already, and the
    // sentence before is not what "They call this …" in a clause points back to.
    void findClauseDefinitions(const QString& clause, int at) {
        QList<DefinitionPatterns::Found> found = DefinitionPatterns::findInClause(clause);
        found.removeIf([](const DefinitionPatterns::Found& f) { return f.acronymOnly; });
        record(found, at, false);
    }

    void record(const QList<DefinitionPatterns::Found>& definitions, int at, bool wholeSentence) {
        for (const DefinitionPatterns::Found& found : definitions) {
            if (found.acronymOnly) {
                addAcronym(found, at);
                continue;
            }
            Candidate* candidate = addCandidate(found.term, Source::definition, found.definition, at);
            if (!candidate)
                continue;
            candidate->defined |= !found.definition.isEmpty();
            if (wholeSentence)
                candidate->previousDefines = !candidate->defined && found.definition.isEmpty();
            if (!found.otherName.isEmpty())
                addAlias(*candidate, found.otherName);
        }
    }

    void addAcronym(const DefinitionPatterns::Found& found, int at) {
        Candidate* expansion = addCandidate(found.term, Source::acronym, {}, at);
        if (!expansion)
            return;
        addAlias(*expansion, found.otherName);
    }

    void addAlias(Candidate& candidate, const QString& alias) {
        const QString key = keyOf(alias);
        if (key.isEmpty() || key == candidate.key || candidate.aliasKeys.contains(key))
            return;
        candidate.aliasKeys.append(key);
        candidate.aliasSurfaces.append(alias);
        aliasOf_.insert(key, candidate.key);
    }

    // The candidate for a term, made or found; null when the words cannot be a term.
    Candidate* addCandidate(const QString& rawTerm, Source source, const QString& definition, int sentence) {
        const QString term = TermWords::cleaned(rawTerm);
        if (!TermWords::isPlausible(term))
            return nullptr;
        QString key = keyOf(term);
        if (key.isEmpty())
            return nullptr;
        key = aliasOf_.value(key, key);
        auto found = candidates_.find(key);
        if (found == candidates_.end()) {
            found = candidates_.insert(key, Candidate{});
            found->key = key;
            found->firstSurface = term;
            order_.append(key);
        }
        found->sources.insert(source);
        const QString clause = TermWords::definitionText(definition);
        const bool better = !clause.isEmpty() && (found->definition.isEmpty() ||
                                                  sourceWeight(source) > sourceWeight(found->best()));
        if (better || (found->definingSentence < 0 && sentence >= 0 && clause.isEmpty() &&
                       found->definition.isEmpty())) {
            if (!clause.isEmpty())
                found->definition = clause;
            found->definingSentence = sentence;
        }
        return &*found;
    }

    QList<Token> tokenize(const QString& text) {
        static const QRegularExpression word(R"([\p{L}\p{N}][\p{L}\p{N}'’\-–]*)");
        QList<Token> tokens;
        for (auto it = word.globalMatch(text); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            QString token = match.captured(0);
            while (token.endsWith('-') || token.endsWith(QChar(0x2013)) || token.endsWith('\''))
                token.chop(1);
            tokens.append({token, stemOf(token), match.capturedStart()});
        }
        return tokens;
    }

    QString stemOf(const QString& token) {
        QString lower = token.toLower();
        lower.replace(QChar(0x2019), '\'').replace(QChar(0x2013), '-');
        if (lower.endsWith(QLatin1String("'s")))
            lower.chop(2);
        auto cached = stems_.constFind(lower);
        if (cached == stems_.constEnd())
            cached = stems_.insert(lower, stemmer_.stem(lower));
        return *cached;
    }

    QString keyOf(const QString& term) {
        QStringList stems;
        for (const Token& token : tokenize(term))
            stems.append(token.stem);
        while (!stems.isEmpty() && TermWords::isArticle(stems.first()))
            stems.removeFirst();
        return stems.join(' ');
    }

    bool isEnglish() const {
        const CommonWords& words = CommonWords::instance();
        int total = 0, known = 0;
        for (const SentenceData& sentence : sentences_)
            for (const Token& token : sentence.tokens) {
                if (!token.text.front().isLetter())
                    continue;
                ++total;
                known += words.contains(token.text.toLower()) || words.contains(token.text) ||
                         (token.text.endsWith('s') && words.contains(token.text.toLower().chopped(1)));
            }
        return total < minWordsForLanguage || known >= minEnglishShare * total;
    }

    // Noun phrases by their parts of speech: the parse's where the sentence was parsed, else the
    // dictionary's.
    void findPhrases() {
        const EnglishParser& parser = EnglishParser::instance();
        int parsed = 0;
        for (int index = 0; index < sentences_.size(); ++index) {
            SentenceData& sentence = sentences_[index];
            QList<Tag> tags(sentence.tokens.size(), Tag::other);
            for (qsizetype i = 0; i < tags.size(); ++i)
                tags[i] = tagOf(sentence.tokens[i].text);
            if (sentence.out.prose && parsed < maxParsedSentences) {
                const QList<EnglishParser::Word> words = parser.parse(sentence.out.text);
                parsed += !words.isEmpty();
                qsizetype cursor = 0;
                for (qsizetype i = 0; i < sentence.tokens.size(); ++i)
                    for (qsizetype w = cursor; w < words.size(); ++w)
                        if (words[w].text.compare(sentence.tokens[i].text, Qt::CaseInsensitive) == 0) {
                            if (words[w].tag != Tag::unknown || tags[i] == Tag::other)
                                tags[i] = words[w].tag == Tag::unknown ? Tag::noun : words[w].tag;
                            cursor = w + 1;
                            break;
                        }
            }
            addPhrases(sentence, tags, index);
        }
    }

    Tag tagOf(const QString& word) {
        if (TermWords::isAcronymLike(word))
            return Tag::properNoun;
        const QString lower = word.toLower();
        if (TermWords::isStopWord(lower) || word.front().isDigit())
            return Tag::other;
        auto cached = tags_.constFind(lower);
        if (cached == tags_.constEnd())
            cached = tags_.insert(lower, EnglishParser::instance().lookup(lower));
        return *cached == Tag::unknown ? Tag::noun : *cached;
    }

    void addPhrases(const SentenceData& sentence, const QList<Tag>& tags, int index) {
        const auto nounish = [](Tag tag) { return tag == Tag::noun || tag == Tag::properNoun; };
        const QList<Token>& tokens = sentence.tokens;
        // A phrase never runs across punctuation: "sensory memory -> short-term memory" is two.
        const auto joined = [&](qsizetype t) {
            const qsizetype gap = tokens[t - 1].start + tokens[t - 1].text.size();
            return sentence.out.text.mid(gap, tokens[t].start - gap).trimmed().isEmpty();
        };
        QList<QPair<qsizetype, qsizetype>> chunks; // [start, end)
        for (qsizetype i = 0; i < tokens.size();) {
            qsizetype end = i;
            while (end < tokens.size() && (nounish(tags[end]) || tags[end] == Tag::adjective) &&
                   (end == i || joined(end)))
                ++end;
            qsizetype last = end;
            while (last > i && !nounish(tags[last - 1]))
                --last;
            qsizetype first = i;
            while (first < last && TermWords::isWeakModifier(tokens[first].text.toLower()))
                ++first;
            if (last > first)
                chunks.append({std::max(first, last - Engine::maxTermWords), last});
            i = std::max(end, i + 1);
        }
        const auto text = [&](qsizetype from, qsizetype to) {
            return sentence.out.text.mid(
                tokens[from].start, tokens[to - 1].start + tokens[to - 1].text.size() - tokens[from].start);
        };
        for (qsizetype c = 0; c < chunks.size(); ++c) {
            const auto [from, to] = chunks[c];
            for (qsizetype start = from; start < to; ++start)
                addPhrase(text(start, to), index);
            // "law of demand", "laws of motion"
            if (c + 1 < chunks.size() && chunks[c + 1].first == to + 1 &&
                tokens[to].text.compare(QLatin1String("of"), Qt::CaseInsensitive) == 0 &&
                chunks[c + 1].second - (to - 1) <= Engine::maxTermWords)
                addPhrase(text(to - 1, chunks[c + 1].second), index);
        }
    }

    void addPhrase(const QString& phrase, int sentence) {
        if (!TermWords::isPlausible(phrase) || TermWords::isGenericNoun(phrase.toLower()))
            return;
        addCandidate(phrase, Source::phrase, {}, sentence);
    }

    // Every use of every candidate (and its other names) in every sentence.
    void count() {
        struct Name {
            QString key; // the candidate's own key or another name's
            QStringList stems;
            QString owner; // the candidate's key
        };
        QHash<QString, QList<Name>> byFirstStem;
        const auto index = [&](const QString& key, const QString& owner) {
            const QStringList stems = key.split(' ');
            byFirstStem[stems.first()].append({key, stems, owner});
        };
        for (const Candidate& candidate : std::as_const(candidates_)) {
            index(candidate.key, candidate.key);
            for (const QString& alias : candidate.aliasKeys)
                index(alias, candidate.key);
        }
        for (int s = 0; s < sentences_.size(); ++s) {
            const SentenceData& sentence = sentences_[s];
            const QList<Token>& tokens = sentence.tokens;
            for (qsizetype at = 0; at < tokens.size(); ++at) {
                const auto entries = byFirstStem.constFind(tokens[at].stem);
                if (entries == byFirstStem.constEnd())
                    continue;
                for (const Name& name : *entries) {
                    const QStringList& stems = name.stems;
                    if (at + stems.size() > tokens.size())
                        continue;
                    bool same = true;
                    for (qsizetype k = 1; k < stems.size() && same; ++k)
                        same = tokens[at + k].stem == stems[k];
                    if (!same)
                        continue;
                    Candidate& candidate = candidates_[name.owner];
                    ++candidate.occurrences;
                    candidate.sections.insert(sentence.section);
                    if (candidate.mentions.isEmpty() || candidate.mentions.back() != s) {
                        candidate.mentions.append(s);
                        candidate.firstWordIn.insert(s, at);
                    }
                    const qsizetype end =
                        tokens[at + stems.size() - 1].start + tokens[at + stems.size() - 1].text.size();
                    const QString surface = sentence.out.text.mid(tokens[at].start, end - tokens[at].start);
                    if (name.key == candidate.key && !sentence.heading &&
                        (at > 0 || TermWords::keepsCapital(surface)))
                        ++candidate.surfaces[surface];
                }
            }
        }
    }

    double rarityOf(const Candidate& candidate) {
        const WordRarity& rarity = WordRarity::instance();
        double best = 0, sum = 0;
        int words = 0;
        for (QString word : candidate.firstSurface.toLower().split(' ', Qt::SkipEmptyParts)) {
            if (word.endsWith(QLatin1String("'s")) || word.endsWith(QStringLiteral("’s")))
                word.chop(2);
            if (TermWords::isStopWord(word))
                continue;
            const double r = TermWords::isAcronymLike(candidate.firstSurface) ? 1.0 : rarity.of(word);
            best = std::max(best, r);
            sum += r;
            ++words;
        }
        return words == 0 ? 0 : 0.5 * best + 0.5 * sum / words;
    }

    // A term ends in a noun: "failing" or "statistically significant" are not cards.
    // A marked term may end in a participle ("quantity demanded"), never in a gerund.
    bool isNounPhrase(const Candidate& candidate) {
        const QString last = candidate.firstSurface.section(' ', -1);
        const Tag tag = tagOf(last);
        if (tag == Tag::noun || tag == Tag::properNoun)
            return true;
        if (!candidate.marked() || tag == Tag::other)
            return false;
        // A gerund is a term when the notes name or define it as one: "This creation of new ocean
        // floor is called sea-floor spreading", "chunking is grouping things into bigger units";
        // "failing to reject" is not.
        if (last.endsWith(QLatin1String("ing"))) {
            if (!candidate.defined)
                return false;
            const QString& surface = candidate.firstSurface;
            const QString before =
                surface.contains(' ') ? surface.section(' ', -2, -2) : surface.section('-', -2, -2);
            if (!before.isEmpty())
                return tagOf(before) == Tag::noun;
            const WordRarity& rarity = WordRarity::instance();
            return rarity.isNoun(last.toLower()) && rarity.of(last.toLower()) >= minListedWordRarity;
        }
        return candidate.firstSurface.contains(' ');
    }

    bool isKind(const Candidate& candidate, const QSet<QString>& kinds) {
        // "z-statistic" beside "test statistic"
        const QString head = candidate.key.section(' ', -1).section('-', -1);
        if ((!candidate.key.contains(' ') && !candidate.key.contains('-')) || !kinds.contains(head) ||
            candidate.key.contains(QLatin1String(" of ")))
            return false;
        // "Pacific plate" names one plate, not a kind of plate.
        const QString modifier = displayOf(candidate).section(' ', 0, 0);
        return modifier.front().isLower() && tagOf(modifier) != Tag::verb;
    }

    QList<QString> choose() {
        int words = 0;
        for (const SentenceData& sentence : std::as_const(sentences_))
            words += int(sentence.tokens.size());
        // The heads of the marked terms: "iconic memory" and "episodic memory" are defined, so
        // "sensory memory" is likely another kind of memory the notes teach.
        QSet<QString> kinds;
        for (const Candidate& candidate : std::as_const(candidates_))
            if (candidate.marked() && candidate.key.contains(' ') && isNounPhrase(candidate))
                kinds.insert(candidate.key.section(' ', -1));
        QList<QString> keys;
        for (const QString& key : std::as_const(order_)) {
            Candidate& candidate = candidates_[key];
            candidate.rarity = rarityOf(candidate);
            const Source best = candidate.best();
            const int wordCount = int(candidate.key.count(' ')) + 1;
            if (!isNounPhrase(candidate))
                continue;
            if (best == Source::phrase) {
                const bool listed = WordRarity::instance().isNoun(candidate.firstSurface.toLower());
                // A lone word recurring is a term only when general English does not have it.
                const bool name = !TermWords::isAcronymLike(candidate.firstSurface) &&
                                  candidate.firstSurface.front().isUpper();
                const bool enough =
                    wordCount == 1
                        ? isKind(candidate, kinds) || (candidate.occurrences >= 2 && !name &&
                                                       (candidate.rarity >= 0.95 ||
                                                        (candidate.rarity >= minListedWordRarity && listed)))
                        : candidate.occurrences >= 3 || listed || isKind(candidate, kinds) ||
                              (candidate.occurrences >= 2 && candidate.rarity >= minPhraseRarity);
                if (!enough)
                    continue;
            }
            if (candidate.occurrences == 0)
                candidate.occurrences = 1;
            const double spread = std::log(1.0 + candidate.sections.size());
            const double bonus = 0.4 * (candidate.sources.size() - 1) + (candidate.defined ? 0.5 : 0.0);
            const double weight =
                best == Source::phrase && isKind(candidate, kinds) ? kindWeight : sourceWeight(best);
            candidate.score = (weight + bonus) * (1.0 + std::log(double(candidate.occurrences))) *
                              (0.3 + candidate.rarity) * (1.0 + 0.3 * spread);
            keys.append(key);
        }
        std::stable_sort(keys.begin(), keys.end(), [this](const QString& a, const QString& b) {
            return candidates_[a].score > candidates_[b].score;
        });
        // A phrase used almost only inside a longer chosen term is that term's word, not a term.
        QList<QString> chosen;
        const int limit = std::clamp(words / 20, 10, Engine::maxTerms);
        for (const QString& key : std::as_const(keys)) {
            const Candidate& candidate = candidates_[key];
            if (chosen.size() >= Engine::maxTerms || (!candidate.marked() && chosen.size() >= limit))
                continue;
            bool inside = false;
            for (const QString& other : std::as_const(chosen)) {
                const Candidate& longer = candidates_[other];
                if ((' ' + longer.key + ' ').contains(' ' + key + ' ') &&
                    candidate.occurrences - longer.occurrences <= std::max(1, candidate.occurrences / 4) &&
                    !candidate.defined)
                    inside = true;
                if ((' ' + key + ' ').contains(' ' + longer.key + ' ') && !candidate.marked() &&
                    longer.occurrences - candidate.occurrences <= 0)
                    inside = true;
            }
            if (!inside)
                chosen.append(key);
        }
        return chosen;
    }

    QString displayOf(const Candidate& candidate) const {
        QString best;
        int most = 0;
        for (auto it = candidate.surfaces.cbegin(); it != candidate.surfaces.cend(); ++it)
            if (it.value() > most || (it.value() == most && it.key() < best)) {
                best = it.key();
                most = it.value();
            }
        if (best.isEmpty())
            best = TermWords::withoutLeadingCapital(candidate.firstSurface);
        return TermWords::cleaned(best);
    }

    // The prose sentence that best says what the term is: one that starts with it, else the
    // first that uses it.
    int describingSentence(const Candidate& candidate) const {
        int first = -1;
        for (const int s : candidate.mentions) {
            const SentenceData& sentence = sentences_[s];
            if (sentence.tokens.size() < 5 || sentence.heading)
                continue;
            if (first < 0)
                first = s;
            if (!sentence.out.prose)
                continue;
            const QString start = sentence.tokens.first().stem;
            const QString ownFirst = candidate.key.section(' ', 0, 0);
            if (start == ownFirst || (TermWords::isArticle(start) && sentence.tokens.size() > 1 &&
                                      sentence.tokens[1].stem == ownFirst))
                return s;
        }
        return first;
    }

    // The first full sentence of the heading's section, or its first lines.
    int sectionSentence(int section) const {
        for (const int s : sections_[section].sentences)
            if (sentences_[s].tokens.size() >= 4 && s != sections_[section].sentences.value(0, -1))
                return s;
        return -1;
    }

    // The sentence (or, in a run-on sentence, its clause about the term) as a card can show it: a
    // leading pronoun is replaced by the term when it stands for it (the sentence before names the
    // term, or opens the section its heading names); empty when the pronoun stands for something else.
    QString readable(const Candidate& candidate, int s, const QString& term) const {
        const QString text = TermWords::clauseAbout(sentences_[s].out.text, term);
        if (!TermWords::startsWithPronoun(text))
            return text;
        const bool afterMention =
            s > 0 && sentences_[s - 1].section == sentences_[s].section && candidate.mentions.contains(s - 1);
        const bool opensSection = candidate.headingSection == sentences_[s].section &&
                                  sectionSentence(candidate.headingSection) == s;
        return afterMention || opensSection ? TermWords::withPronounResolved(text, term) : QString();
    }

    Engine::Term termOf(const Candidate& candidate) {
        Engine::Term term;
        term.term = displayOf(candidate);
        term.source = candidate.best();
        term.score = candidate.score;
        term.defined = candidate.defined;
        term.forms = candidate.aliasSurfaces;
        int sentence = candidate.definingSentence;
        QString definition = candidate.definition;
        if (candidate.previousDefines && sentence > 0 && sentences_[sentence - 1].out.prose) {
            definition = TermWords::definitionText(sentences_[sentence - 1].out.text);
            term.defined = true;
        }
        if (definition.isEmpty()) {
            int described = describingSentence(candidate);
            if (candidate.headingSection >= 0 &&
                (described < 0 || sentences_[described].section != candidate.headingSection))
                if (const int first = sectionSentence(candidate.headingSection); first >= 0)
                    described = first;
            if (described >= 0) {
                sentence = described;
                definition = TermWords::definitionText(readable(candidate, described, term.term));
            }
        }
        if (sentence < 0 && !candidate.mentions.isEmpty())
            sentence = candidate.mentions.first();
        if (definition.isEmpty())
            for (const int s : candidate.mentions)
                if (!sentences_[s].heading && sentences_[s].tokens.size() >= 4) {
                    definition = TermWords::definitionText(readable(candidate, s, term.term));
                    if (!definition.isEmpty()) {
                        sentence = s;
                        break;
                    }
                }
        term.definition = definition;
        if (sentence >= 0) {
            const SentenceData& defining = sentences_[sentence];
            term.sentence = defining.out.text;
            term.heading = defining.out.heading;
            term.text = defining.out.source;
        }
        for (const int s : candidate.mentions)
            if (s != sentence && sentences_[s].out.prose && sentences_[s].out.text.size() >= 20) {
                term.context = readable(candidate, s, term.term);
                if (!term.context.isEmpty())
                    break;
            }
        // "An enzyme is … It lowers …": the sentence after the definition goes on about the term.
        if (const int next = sentence + 1;
            term.context.isEmpty() && sentence >= 0 && next < sentences_.size() &&
            sentences_[next].section == sentences_[sentence].section && sentences_[next].out.prose &&
            TermWords::startsWithPronoun(sentences_[next].out.text))
            term.context = TermWords::withPronounResolved(sentences_[next].out.text, term.term);
        return term;
    }

    void linkMentions(const QList<QString>& keys) {
        QList<QList<QPair<qsizetype, int>>> found(sentences_.size()); // (word, term) per sentence
        for (int t = 0; t < keys.size(); ++t) {
            const Candidate& candidate = candidates_[keys[t]];
            for (const int s : candidate.mentions)
                found[s].append({candidate.firstWordIn.value(s), t});
        }
        for (int s = 0; s < sentences_.size(); ++s) {
            std::sort(found[s].begin(), found[s].end());
            for (const auto& [word, t] : std::as_const(found[s]))
                sentences_[s].out.terms.append(t);
        }
    }

    EnglishStemmer stemmer_;
    QHash<QString, QString> stems_;
    QHash<QString, Tag> tags_;
    QList<SentenceData> sentences_;
    QList<Engine::Section> sections_;
    QHash<QString, Candidate> candidates_;
    QHash<QString, QString> aliasOf_; // another name's key → the candidate's key
    QStringList order_;
};

} // namespace

KeyTermEngine::Analysis KeyTermEngine::analyze(const QStringList& texts) {
    return Analyzer().run(texts);
}

QList<KeyTermEngine::Term> KeyTermEngine::keyTerms(const QStringList& texts) {
    return analyze(texts).terms;
}
