#include "Terms/WordNet.h"

#include <QDir>
#include <QFile>
#include <QJsonObject>
#include <QSet>
#include <algorithm>
#include <vector>

namespace {

constexpr const char* parts[] = {"noun", "verb", "adj", "adv"};
constexpr int senseLimit = 4;

// One index file: its lines (without the license header) in lemma order.
struct Index {
    QByteArray text;
    std::vector<qsizetype> lines;

    explicit Index(const QString& path) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return;
        text = file.readAll();
        for (qsizetype at = 0; at < text.size();) {
            qsizetype end = text.indexOf('\n', at);
            if (end < 0)
                end = text.size();
            if (text.at(at) != ' ')
                lines.push_back(at);
            at = end + 1;
        }
    }

    QByteArray lemmaAt(qsizetype at) const { return text.mid(at, text.indexOf(' ', at) - at); }

    // The synset offsets of a lemma, most frequent sense first.
    QList<QByteArray> offsets(const QByteArray& lemma) const {
        const auto found =
            std::lower_bound(lines.begin(), lines.end(), lemma,
                             [this](qsizetype at, const QByteArray& key) { return lemmaAt(at) < key; });
        if (found == lines.end() || lemmaAt(*found) != lemma)
            return {};
        const QList<QByteArray> fields = text.mid(*found, text.indexOf('\n', *found) - *found).split(' ');
        // lemma pos synset_cnt p_cnt [ptr_symbol…] sense_cnt tagsense_cnt synset_offset…
        const int synsets = fields.value(2).toInt();
        const int pointers = fields.value(3).toInt();
        return fields.mid(4 + pointers + 2, synsets);
    }
};

const Index& indexOf(int part) {
    static const Index indexes[] = {Index(QDir(WordNet::dictDir).filePath("index.noun")),
                                    Index(QDir(WordNet::dictDir).filePath("index.verb")),
                                    Index(QDir(WordNet::dictDir).filePath("index.adj")),
                                    Index(QDir(WordNet::dictDir).filePath("index.adv"))};
    return indexes[part];
}

struct Pointer {
    QByteArray symbol;
    qint64 offset = 0;
    int part = 0;
    int source = 0; // the word of this synset it starts from; 0 for the whole synset
    int target = 0;
};

struct Synset {
    QStringList words;
    QList<Pointer> pointers;
    QString definition;
    QString example;
};

int partOfLetter(char letter) {
    switch (letter) {
    case 'n':
        return 0;
    case 'v':
        return 1;
    case 'a':
    case 's':
        return 2;
    default:
        return 3;
    }
}

QString readableWord(QByteArray word) {
    // Adjectives may carry a syntactic marker: "galore(ip)".
    if (const qsizetype paren = word.indexOf('('); paren > 0)
        word.truncate(paren);
    return QString::fromUtf8(word).replace('_', ' ');
}

std::optional<Synset> readSynset(int part, qint64 offset) {
    QFile file(QDir(WordNet::dictDir).filePath(QStringLiteral("data.") + parts[part]));
    if (!file.open(QIODevice::ReadOnly) || !file.seek(offset))
        return std::nullopt;
    const QByteArray line = file.readLine().trimmed();
    const qsizetype bar = line.indexOf(" | ");
    const QList<QByteArray> fields = line.left(bar < 0 ? line.size() : bar).split(' ');
    // offset lex_filenum ss_type w_cnt (hex) [word lex_id]… p_cnt [symbol offset pos source/target]…
    Synset synset;
    const int wordCount = fields.value(3).toInt(nullptr, 16);
    for (int i = 0; i < wordCount; ++i)
        synset.words.append(readableWord(fields.value(4 + 2 * i)));
    const int pointerAt = 4 + 2 * wordCount;
    const int pointerCount = fields.value(pointerAt).toInt();
    for (int i = 0; i < pointerCount; ++i) {
        const int at = pointerAt + 1 + 4 * i;
        const QByteArray ends = fields.value(at + 3);
        const QByteArray part = fields.value(at + 2);
        synset.pointers.append({fields.value(at), fields.value(at + 1).toLongLong(),
                                partOfLetter(part.isEmpty() ? 'n' : part.at(0)),
                                ends.left(2).toInt(nullptr, 16), ends.mid(2).toInt(nullptr, 16)});
    }
    if (bar >= 0) {
        const QString gloss = QString::fromUtf8(line.mid(bar + 3));
        const qsizetype quote = gloss.indexOf('"');
        synset.definition = (quote < 0 ? gloss : gloss.left(quote)).trimmed();
        while (synset.definition.endsWith(';'))
            synset.definition.chop(1);
        if (quote >= 0)
            synset.example = gloss.mid(quote + 1, gloss.indexOf('"', quote + 1) - quote - 1).trimmed();
    }
    return synset;
}

void appendUnique(QJsonArray& list, QSet<QString>& seen, const QString& word, int limit) {
    if (list.size() < limit && !seen.contains(word.toLower())) {
        seen.insert(word.toLower());
        list.append(word);
    }
}

// The synset offsets of the term by part of speech, most frequent sense first; `lemma` is set to
// the form found: the term, else its singular ("membranes").
QList<QPair<int, QList<QByteArray>>> sensesOf(const QString& term, QByteArray& lemma) {
    lemma = term.trimmed().toLower().replace(' ', '_').toUtf8();
    QList<QPair<int, QList<QByteArray>>> senses;
    for (int attempt = 0; attempt < 2 && senses.isEmpty(); ++attempt) {
        for (int part = 0; part < 4; ++part)
            if (const QList<QByteArray> offsets = indexOf(part).offsets(lemma); !offsets.isEmpty())
                senses.append({part, offsets});
        if (!lemma.endsWith('s') || lemma.endsWith("ss"))
            break;
        lemma.chop(1);
    }
    return senses;
}

} // namespace

std::optional<WordNet::Entry> WordNet::lookup(const QString& term) {
    QByteArray lemma;
    const QList<QPair<int, QList<QByteArray>>> senses = sensesOf(term, lemma);
    if (senses.isEmpty())
        return std::nullopt;
    const QString self = QString::fromUtf8(lemma).replace('_', ' ');
    Entry entry;
    QSet<QString> synonymsSeen{self}, antonymsSeen, relatedSeen{self};
    for (const auto& [part, offsets] : std::as_const(senses)) {
        for (int sense = 0; sense < std::min<int>(senseLimit, offsets.size()); ++sense) {
            const auto synset = readSynset(part, offsets[sense].toLongLong());
            if (!synset)
                continue;
            const int selfWord = int(synset->words.indexOf(self, 0)) + 1;
            for (const QString& word : synset->words) {
                if (entry.synonyms.size() >= maxSynonyms || synonymsSeen.contains(word.toLower()))
                    continue;
                synonymsSeen.insert(word.toLower());
                QJsonObject item{{"synonym", word}, {"definition", synset->definition}};
                if (!synset->example.isEmpty())
                    item.insert("example_sentence", synset->example);
                entry.synonyms.append(item);
            }
            for (const Pointer& pointer : synset->pointers) {
                const bool antonym =
                    pointer.symbol == "!" && (pointer.source == 0 || pointer.source == selfWord);
                const bool broader = pointer.symbol.startsWith('@') && sense < 2;
                if (!antonym && !broader)
                    continue;
                const auto target = readSynset(pointer.part, pointer.offset);
                if (!target || target->words.isEmpty())
                    continue;
                const QString word = target->words.value(std::max(0, pointer.target - 1));
                if (antonym)
                    appendUnique(entry.antonyms, antonymsSeen, word, maxAntonyms);
                else
                    appendUnique(entry.relatedTerms, relatedSeen, word, maxRelated);
            }
        }
    }
    return entry;
}

QList<WordNet::Coordinate> WordNet::coordinateTerms(const QString& term) {
    static constexpr int nounSenses = 2;
    QByteArray lemma;
    QList<QByteArray> offsets;
    for (const auto& [part, found] : sensesOf(term, lemma))
        if (part == 0)
            offsets = found.mid(0, nounSenses);
    const QString self = QString::fromUtf8(lemma).replace('_', ' ');
    QSet<qint64> own;
    for (const QByteArray& offset : std::as_const(offsets))
        own.insert(offset.toLongLong());
    QList<Coordinate> sisters;
    QSet<QString> seen{self};
    for (const QByteArray& offset : std::as_const(offsets)) {
        const auto synset = readSynset(0, offset.toLongLong());
        if (!synset)
            continue;
        for (const Pointer& broader : synset->pointers) {
            if (!broader.symbol.startsWith('@'))
                continue;
            const auto parent = readSynset(broader.part, broader.offset);
            if (!parent)
                continue;
            for (const Pointer& narrower : parent->pointers) {
                if (!narrower.symbol.startsWith('~') || own.contains(narrower.offset))
                    continue;
                const auto sister = readSynset(narrower.part, narrower.offset);
                if (!sister || sister->words.isEmpty() || seen.contains(sister->words.first().toLower()))
                    continue;
                seen.insert(sister->words.first().toLower());
                sisters.append({sister->words.first(), sister->definition});
                if (sisters.size() >= maxCoordinates)
                    return sisters;
            }
        }
    }
    return sisters;
}
