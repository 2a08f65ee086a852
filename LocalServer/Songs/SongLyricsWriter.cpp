#include "Songs/SongLyricsWriter.h"

#include "Mnemonics/MnemonicPhrasing.h"
#include "Songs/SongGenre.h"
#include "Songs/Syllables.h"
#include "Terms/KeyIdeas.h"

#include <QRegularExpression>
#include <QSet>
#include <algorithm>

namespace {

constexpr int maxLineSyllables = 10;

// Words a gist never ends on: they lead into something that was cut.
bool isFunctionWord(const QString& word) {
    static const QSet<QString> words{
        "a",   "an",   "the",     "of",     "to",      "from", "that",  "which", "with",  "in",
        "on",  "for",  "by",      "and",    "or",      "its",  "their", "is",    "are",   "as",
        "at",  "into", "through", "across", "where",   "when", "while", "who",   "whose", "than",
        "but", "it",   "be",      "being",  "without", "so",   "this",  "these", "those", "our"};
    return words.contains(word.toLower());
}

QString bare(QString word) {
    while (!word.isEmpty() && !word.back().isLetterOrNumber())
        word.chop(1);
    while (!word.isEmpty() && !word.front().isLetterOrNumber())
        word.remove(0, 1);
    return word;
}

// Verse lines in the genre's voice: %1 the term, %2 the gist. Each has an extra word or two of
// its own, counted against the line's syllables.
QStringList verseShapes(const QString& genre) {
    if (genre == "hip-hop")
        return {"Yo, %1: %2", "%1, that's %2", "Check %1: %2", "%1 means %2"};
    if (genre == "rock")
        return {"%1! %2", "Oh, %1, %2", "%1, yeah, %2", "Hey, %1: %2"};
    if (genre == "lo-fi")
        return {"%1, %2", "slow down, %1: %2", "%1 means %2", "mm, %1, %2"};
    if (genre == "country")
        return {"Well, %1, that's %2", "%1: %2", "Now %1 means %2", "%1, %2"};
    return {"%1: %2", "Oh, %1, %2", "%1 means %2", "and %1, %2"};
}

// The chorus's tag after two names, and its closing refrain.
QPair<QString, QString> chorusWords(const QString& genre) {
    if (genre == "hip-hop")
        return {"say it loud", "now you know it, yeah"};
    if (genre == "rock")
        return {"sing it out", "we won't forget it"};
    if (genre == "lo-fi")
        return {"take it slow", "let it sink in"};
    if (genre == "country")
        return {"sing along", "hold it close to home"};
    return {"sing it soft", "keep it in your heart"};
}

// A few words of the title for the chorus: "Cell Biology: Membranes and Transport" → "cell biology".
QString topicOf(const QString& title) {
    QStringList words;
    for (const QString& word : title.section(u':', 0, 0).split(u' ', Qt::SkipEmptyParts)) {
        if (Syllables::countLine((words + QStringList{word}).join(u' ')) > 5)
            break;
        words.append(word);
    }
    while (!words.isEmpty() && isFunctionWord(bare(words.last())))
        words.removeLast();
    return words.isEmpty() ? QStringLiteral("these notes") : words.join(u' ');
}

QString firstUpper(QString text) {
    return MnemonicPhrasing::capitalized(std::move(text));
}

} // namespace

QList<KeyTerm> SongLyricsWriter::termsFor(const QString& text, const QStringList& keyIdeas, int* ideaCount) {
    const QList<KeyTerm> found = KeyIdeas::found({text});
    QList<KeyTerm> ideas;
    for (const QString& idea : keyIdeas)
        ideas += KeyIdeas::parse(idea);
    KeyIdeas::define(ideas, found, {text}, QStringLiteral("a key idea to remember"));
    QList<KeyTerm> terms;
    QSet<QString> seen;
    const auto add = [&](const QList<KeyTerm>& list) {
        for (const KeyTerm& term : list) {
            const QString key = term.term.simplified().toLower();
            if (key.isEmpty() || seen.contains(key))
                continue;
            seen.insert(key);
            terms.append({term.term.simplified(), term.definition.simplified(), term.context});
        }
    };
    add(ideas);
    if (ideaCount)
        *ideaCount = int(terms.size());
    add(found);
    return terms;
}

QString SongLyricsWriter::gist(const KeyTerm& term, int syllables) {
    QString definition = term.definition.simplified();
    // "Osmosis is the movement …", "Osmosis refers to …": the line names the term already.
    static const QRegularExpression namesTerm(
        QStringLiteral("^(.{0,60}?)\\s+(is|are|means|refers to|is defined as)\\s+"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = namesTerm.match(definition);
    if (match.hasMatch() && match.captured(1).contains(term.term, Qt::CaseInsensitive))
        definition = definition.mid(match.capturedLength());
    QStringList words = definition.split(u' ', Qt::SkipEmptyParts);
    while (!words.isEmpty() && QStringList{"a", "an", "the"}.contains(words.first().toLower()))
        words.removeFirst();
    QStringList kept;
    int used = 0;
    for (const QString& word : std::as_const(words)) {
        const QString plain = bare(word);
        if (plain.isEmpty())
            continue;
        used += Syllables::count(plain);
        if (used > syllables && !kept.isEmpty()) {
            // "pumping of | molecules": "of" takes its noun when that is short.
            if (kept.last().toLower() == u"of" && !isFunctionWord(plain) && used - syllables <= 3)
                kept.append(plain);
            break;
        }
        kept.append(plain);
        // A clause ends at a comma or a full stop; the gist goes no further.
        if (word.back() == u',' || word.back() == u'.' || word.back() == u';')
            break;
    }
    while (kept.size() > 1 && isFunctionWord(kept.last()))
        kept.removeLast();
    if (!kept.isEmpty() && !(kept.first().size() > 1 && kept.first().at(1).isUpper()))
        kept.first() = kept.first().at(0).toLower() + kept.first().mid(1);
    return kept.join(u' ');
}

SongLyricsWriter::Lyrics SongLyricsWriter::write(const QString& title, const QList<KeyTerm>& terms,
                                                 int keyIdeaCount, const SongGenre& genre,
                                                 const SongArrangement& arrangement) {
    Lyrics lyrics;
    const QStringList shapes = verseShapes(genre.id);
    // The chorus is about the key ideas when there are any, else the text's first terms.
    lyrics.hookTerms =
        terms.mid(0, std::clamp<qsizetype>(keyIdeaCount, std::min<qsizetype>(terms.size(), 2), 4));
    auto hookName = [&](int i) { return lyrics.hookTerms.at(i % lyrics.hookTerms.size()).term; };
    const auto [tag, refrain] = chorusWords(genre.id);
    const QStringList chorusLines{
        lyrics.hookTerms.size() > 1 ? QStringLiteral("%1 and %2, %3").arg(hookName(0), hookName(1), tag)
                                    : QStringLiteral("all about %1, %2").arg(hookName(0), tag),
        lyrics.hookTerms.size() > 2 ? QStringLiteral("%1 and %2, every time").arg(hookName(2), hookName(3))
                                    : QStringLiteral("keep %1 in mind").arg(hookName(0)),
        QStringLiteral("that's how we learn %1").arg(topicOf(title)), refrain};

    QStringList text;
    if (!title.trimmed().isEmpty())
        text << QStringLiteral("## %1").arg(title.simplified());
    text << QStringLiteral("Genre: %1").arg(genre.label)
         << QStringLiteral("Tempo: %1 BPM").arg(genre.tempoBpm);
    int verseLine = 0;
    int bridgeLine = 0;
    for (const SongArrangement::Section& section : arrangement.sections) {
        text << QString() << QStringLiteral("[%1]").arg(section.name);
        for (int i = 0; i < section.lines; ++i) {
            QString line;
            if (section.name == "Chorus") {
                // A one- or two-line chorus keeps the names and the refrain.
                const int pick = section.lines >= 4 ? i : section.lines == 2 ? i * 3 : 0;
                line = chorusLines.at(pick);
            } else if (section.name == "Bridge") {
                // The bridge goes back over the terms two at a time.
                const int first = (2 * bridgeLine) % int(terms.size());
                const int second = (2 * bridgeLine + 1) % int(terms.size());
                line = first == second
                           ? QStringLiteral("remember %1").arg(terms.at(first).term)
                           : QStringLiteral("%1, then %2").arg(terms.at(first).term, terms.at(second).term);
                ++bridgeLine;
            } else {
                const KeyTerm& term = terms.at(verseLine % terms.size());
                const QString& shape = shapes.at(verseLine % shapes.size());
                const int own = Syllables::countLine(QString(shape).arg(term.term, QString()));
                const QString meaning = gist(term, std::max(3, maxLineSyllables - own));
                line = meaning.isEmpty() ? term.term : QString(shape).arg(term.term, meaning);
                ++verseLine;
            }
            line = firstUpper(line);
            text << line;
            lyrics.sungLines << line;
        }
    }
    QStringList takeaway;
    for (const KeyTerm& term : std::as_const(lyrics.hookTerms))
        if (const QString meaning = gist(term, 20); !meaning.isEmpty())
            takeaway << QStringLiteral("%1 is %2").arg(term.term, meaning);
        else
            takeaway << term.term;
    text << QString()
         << QStringLiteral("Hook takeaway: %1.").arg(firstUpper(takeaway.join(QStringLiteral("; "))));
    lyrics.text = text.join(u'\n') + u'\n';
    return lyrics;
}
