#include "Mnemonics/MnemonicGenerator.h"
#include "MnemonicHTMLParser.h"
#include "Mnemonics/AcronymOrder.h"
#include "Terms/CommonWords.h"
#include "Terms/KeyIdeas.h"

#include <QFile>
#include <QSet>
#include <QTest>

namespace {

// Twelve biology terms with definitions, as the vocabulary extraction finds them.
const QList<KeyTerm> biology{
    {"osmosis", "The movement of water across a membrane from a dilute solution to a concentrated one",
     "Plant roots take up water by osmosis."},
    {"membrane",
     "A thin layer of lipids and proteins that separates the inside of a cell from its surroundings",
     {}},
    {"active transport",
     "The pumping of molecules against their concentration gradient using energy from ATP",
     {}},
    {"diffusion", "The net spread of particles from where they are crowded to where they are sparse", {}},
    {"turgor pressure", "The push of water in the central vacuole against the cell wall of a plant", {}},
    {"enzyme", "A protein that speeds up a chemical reaction without being used up", {}},
    {"glucose", "A simple sugar that cells break down for energy", {}},
    {"ribosome", "A small structure that builds proteins from amino acids", {}},
    {"nucleus", "The part of the cell that holds its genetic material", {}},
    {"xylem", "The tissue that carries water up from the roots", {}},
    {"chlorophyll", "The green pigment that captures light for photosynthesis", {}},
    {"stomata", "Tiny pores in a leaf through which gases pass", {}}};

MnemonicGenerator::Mnemonic make(const QString& type, const QString& difficulty, const QList<KeyTerm>& terms,
                                 const QString& topic = {}) {
    return MnemonicGenerator::generate({type, difficulty, topic, terms});
}

QString cardText(const Card& card) {
    QString text = card.title;
    for (const CardBlock& block : card.blocks)
        text += '\n' + (block.kind == CardBlock::Kind::grid ? QString() : block.text);
    for (const CardBlock& block : card.blocks)
        for (const QStringList& row : block.rows)
            text += '\n' + row.join(" | ");
    return text;
}

QSet<QString> wordList() {
    QFile file(QString::fromLatin1(CommonWords::wordListPath));
    QSet<QString> words;
    if (file.open(QIODevice::ReadOnly))
        for (const QByteArray& line : file.readAll().split('\n'))
            words.insert(QString::fromUtf8(line));
    return words;
}

} // namespace

// Mnemonic generation from key terms: every type read back by the app's own guide parser, the
// letters and words the acronym and acrostic are made of, rhymes, escaping and the choice of "any".
class MnemonicGeneratorTest : public QObject {
    Q_OBJECT

private slots:
    void everyTypeIsAGuideTheAppReads_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("difficulty");
        QTest::addColumn<int>("terms");
        for (const QString type : {"acronym", "acrostic", "rhyme", "story", "method_of_loci"})
            for (const QString difficulty : {"easy", "medium", "hard"})
                QTest::addRow("%s %s", qPrintable(type), qPrintable(difficulty))
                    << type << difficulty << MnemonicGenerator::termLimit(type, difficulty);
    }
    void everyTypeIsAGuideTheAppReads() {
        QFETCH(QString, type);
        QFETCH(QString, difficulty);
        QFETCH(int, terms);
        const MnemonicGenerator::Mnemonic mnemonic = make(type, difficulty, biology, "cell transport");
        QCOMPARE(mnemonic.type, type);
        QCOMPARE(mnemonic.terms.size(), terms);
        QVERIFY(!mnemonic.explanation.isEmpty());
        // The same terms make the same guide.
        QCOMPARE(make(type, difficulty, biology, "cell transport").html, mnemonic.html);

        const ParsedMnemonicGuide guide = MnemonicHTMLParser::parse(mnemonic.html);
        QVERIFY(guide.summary && guide.summary->startsWith("These cover cell transport."));
        QVERIFY(guide.cards.size() >= terms + 2);
        // Cards take the four accents in turn; the last is the tip, without its lead-in.
        const MnemonicAccent accents[] = {MnemonicAccent::orange, MnemonicAccent::green, MnemonicAccent::blue,
                                          MnemonicAccent::purple};
        for (qsizetype i = 0; i + 1 < guide.cards.size(); ++i) {
            QVERIFY2(!guide.cards[i].title.isEmpty() && !guide.cards[i].blocks.isEmpty(),
                     qPrintable(guide.cards[i].title));
            QCOMPARE(guide.cards[i].accent, accents[i % 4]);
        }
        const Card& tip = guide.cards.last();
        QCOMPARE(tip.accent, MnemonicAccent::yellow);
        QCOMPARE(tip.blocks.size(), 1);
        QVERIFY(!tip.blocks[0].text.isEmpty() && !tip.blocks[0].text.startsWith("Tip"));
        // A two-column grid overview, and every term used has a card of its own.
        bool grid = false;
        for (const CardBlock& block : guide.cards.first().blocks)
            grid |= block.kind == CardBlock::Kind::grid && block.columns == 2 && block.rows.size() == terms;
        QVERIFY(grid);
        for (const KeyTerm& term : mnemonic.terms) {
            const auto own = std::count_if(guide.cards.begin(), guide.cards.end(),
                                           [&](const Card& card) { return card.title.endsWith(term.term); });
            QVERIFY2(own == 1, qPrintable(term.term));
        }
        // The hardest level tells the sentence from the text too; the easiest shortens definitions.
        const QString all = cardText(guide.cards.at(1)) + [&] {
            QString rest;
            for (const Card& card : guide.cards)
                rest += cardText(card);
            return rest;
        }();
        if (type != "rhyme")
            QCOMPARE(all.contains("In the text: Plant roots take up water by osmosis."),
                     difficulty == "hard");
        if (difficulty == "easy" && type != "rhyme")
            QVERIFY(all.contains("…"));
    }

    void acronymLettersAreTheTermsInitials() {
        // t, a, c: some order is a word, and a common one is chosen over the order given.
        const QList<KeyTerm> terms{{"tissue", "A group of similar cells", {}},
                                   {"amino acid", "A building block of proteins", {}},
                                   {"cytoplasm", "The jelly that fills a cell", {}}};
        const MnemonicGenerator::Mnemonic mnemonic = make("acronym", "medium", terms);
        // "act" and "cat" are both common; "cat" alternates vowel and consonant throughout.
        QCOMPARE(mnemonic.device, "CAT");
        const ParsedMnemonicGuide guide = MnemonicHTMLParser::parse(mnemonic.html);
        for (qsizetype i = 0; i < 3; ++i)
            QCOMPARE(guide.cards[i + 1].title,
                     QStringLiteral("%1 is for %2").arg(mnemonic.device.at(i)).arg(mnemonic.terms[i].term));
        QCOMPARE(guide.cards[0].title, "Your acronym: " + mnemonic.device);

        // Over the document's terms, the letters are exactly the initials of the terms used.
        for (const QString difficulty : {"easy", "medium", "hard"}) {
            const MnemonicGenerator::Mnemonic made = make("acronym", difficulty, biology);
            QString initials, letters = made.device.toLower();
            for (const KeyTerm& term : made.terms)
                initials += term.term.at(0);
            QCOMPARE(letters, initials);
            std::sort(initials.begin(), initials.end());
            QString given;
            for (const KeyTerm& term : biology.mid(0, made.terms.size()))
                given += term.term.at(0);
            std::sort(given.begin(), given.end());
            QCOMPARE(initials, given);
        }
        // Without a word, the order easiest to say; equal orders keep the given one.
        QVERIFY(AcronymOrder::pronounceability("bato") > AcronymOrder::pronounceability("btao"));
        QCOMPARE(AcronymOrder::best("xqz"), QList<int>({0, 1, 2}));
        // Repeated letters are taken in their given order: "oto" spells "too".
        QCOMPARE(AcronymOrder::best("oto"), QList<int>({1, 0, 2}));
        // Accented and non-letter starts: the first letter, without its accent.
        const MnemonicGenerator::Mnemonic accented =
            make("acronym", "easy",
                 {{"Émile effect", "x y z", {}}, {"3D printing", "a b c", {}}, {"…", "none", {}}});
        QCOMPARE(accented.terms.size(), 2);
        QCOMPARE(QSet<QChar>(accented.device.begin(), accented.device.end()), QSet<QChar>({'E', 'D'}));
    }

    void acrosticWordsStartWithTheInitialsAndAreRealWords() {
        const QSet<QString> dictionary = wordList();
        QVERIFY(dictionary.size() > 50'000);
        for (const QString difficulty : {"easy", "medium", "hard"}) {
            QList<KeyTerm> terms = biology;
            std::rotate(terms.begin(), terms.begin() + 5, terms.end()); // starts with enzyme, …, xylem
            const MnemonicGenerator::Mnemonic mnemonic = make("acrostic", difficulty, terms);
            QVERIFY(mnemonic.device.endsWith('.'));
            QString sentence = mnemonic.device;
            sentence.remove(',').chop(1);
            const QStringList words = sentence.split(' ');
            QCOMPARE(words.size(), mnemonic.terms.size());
            QSet<QString> distinct;
            for (qsizetype i = 0; i < words.size(); ++i) {
                const QString word = words[i].toLower();
                QVERIFY2(word.at(0) == mnemonic.terms[i].term.at(0), qPrintable(word));
                QVERIFY2(dictionary.contains(word), qPrintable(word));
                QVERIFY(words[i].at(0).isUpper());
                distinct.insert(word);
            }
            QCOMPARE(distinct.size(), words.size());
            // The terms keep their order.
            QCOMPARE(mnemonic.terms, terms.mid(0, words.size()));
        }
        // Common words only, one clear part of speech each; none of the unfit ones.
        const CommonWords& common = CommonWords::instance();
        QVERIFY(common.starting('b', CommonWords::Part::noun).contains("book"));
        QVERIFY(common.starting('g', CommonWords::Part::adjective).contains("good"));
        QVERIFY(!common.starting('k', CommonWords::Part::verb).contains("kill"));
        for (const QString& word : common.starting('s', CommonWords::Part::verb))
            QVERIFY(word.size() >= CommonWords::minLength && word.size() <= CommonWords::maxLength);
    }

    void rhymesShareTheirEnding() {
        QCOMPARE(CommonWords::rhymeEnding("membrane"), "ane");
        QCOMPARE(CommonWords::rhymeEnding("water"), "er");
        QCOMPARE(CommonWords::rhymeEnding("light"), "ight");
        QCOMPARE(CommonWords::rhymeEnding("energy"), "gy");
        QVERIFY(!CommonWords::instance().rhymes("light").contains("light"));

        const MnemonicGenerator::Mnemonic mnemonic = make("rhyme", "hard", biology);
        const ParsedMnemonicGuide guide = MnemonicHTMLParser::parse(mnemonic.html);
        int rhymed = 0;
        for (qsizetype i = 1; i <= mnemonic.terms.size(); ++i) {
            const QStringList lines = guide.cards[i].blocks.first().text.split('\n');
            QCOMPARE(lines.size(), 2);
            QVERIFY(lines[0].endsWith(','));
            if (lines[1].contains("remembered through and through"))
                continue;
            ++rhymed;
            const auto lastWord = [](QString line) {
                line.remove(QRegularExpression("[^A-Za-z ]"));
                return line.section(' ', -1).toLower();
            };
            QCOMPARE(CommonWords::rhymeEnding(lastWord(lines[1])),
                     CommonWords::rhymeEnding(lastWord(lines[0])));
            QVERIFY(lastWord(lines[1]) != lastWord(lines[0]));
        }
        QVERIFY(rhymed >= mnemonic.terms.size() - 1);
    }

    void hostileTermsAreEscaped() {
        const QList<KeyTerm> terms{{"<script>alert(1)</script>", "An <b>injected</b> tag & more", {}},
                                   {"R&amp;D", "Research \"and\" development's budget", {}},
                                   {"tip jar", "A jar for tips, not a tip section", {}}};
        for (const QString type : {"acronym", "acrostic", "rhyme", "story", "method_of_loci"}) {
            const MnemonicGenerator::Mnemonic mnemonic = make(type, "hard", terms);
            QVERIFY(!mnemonic.html.contains("<script", Qt::CaseInsensitive));
            QVERIFY(!mnemonic.html.contains("<b>"));
            const ParsedMnemonicGuide guide = MnemonicHTMLParser::parse(mnemonic.html);
            QString titles;
            for (const Card& card : guide.cards)
                titles += card.title + '\n';
            QVERIFY2(titles.contains("<script>alert(1)</script>"), qPrintable(type));
            // Decoded one level: the text as the student typed it.
            QVERIFY2(titles.contains("R&amp;D"), qPrintable(titles));
            // Only the tip is yellow, whatever the terms begin with.
            QCOMPARE(std::count_if(guide.cards.begin(), guide.cards.end(),
                                   [](const Card& card) { return card.accent == MnemonicAccent::yellow; }),
                     1);
        }
    }

    void anyChoosesByTheTerms() {
        const QList<KeyTerm> shortTerms = biology.mid(5, 4); // enzyme, glucose, ribosome, nucleus
        QCOMPARE(MnemonicGenerator::resolveType(shortTerms, "medium"), "acronym");
        QCOMPARE(MnemonicGenerator::resolveType(shortTerms.mid(0, 2), "medium"), "story");
        const QList<KeyTerm> longTerms{{"the law of diminishing returns", "a", {}},
                                       {"comparative advantage", "b", {}},
                                       {"opportunity cost", "c", {}}};
        QCOMPARE(MnemonicGenerator::resolveType(longTerms, "medium"), "story");
        QCOMPARE(MnemonicGenerator::resolveType(biology, "medium"), "method_of_loci");
        QCOMPARE(make("any", "easy", biology).terms.size(),
                 MnemonicGenerator::termLimit("method_of_loci", "easy"));
        QCOMPARE(make("any", "hard", shortTerms).type, "acronym");
    }

    void keyIdeasAreTermsWithMeanings() {
        QList<KeyTerm> ideas = KeyIdeas::parse("- Mitochondria: the powerhouse of the cell\n"
                                               "2. Ribosome — builds proteins\n\n"
                                               "osmosis; Golgi apparatus\n");
        QCOMPARE(ideas.size(), 4);
        QCOMPARE(ideas[0].term, "Mitochondria");
        QCOMPARE(ideas[0].definition, "the powerhouse of the cell");
        QCOMPARE(ideas[1].term, "Ribosome");
        QCOMPARE(ideas[1].definition, "builds proteins");
        QCOMPARE(KeyIdeas::parse("supply, demand, elasticity").size(), 3);
        QCOMPARE(KeyIdeas::parse("price: what it costs, in dollars").size(), 1);

        KeyIdeas::define(ideas, biology,
                         {"They pass through the Golgi apparatus on the way out.",
                          "Cells sort proteins in the Golgi apparatus before shipping them."},
                         "A key idea of biology");
        QCOMPARE(ideas[2].definition, biology[0].definition);
        QCOMPARE(ideas[3].definition, "Cells sort proteins in the Golgi apparatus before shipping them.");
        QList<KeyTerm> unknown = KeyIdeas::parse("quark");
        KeyIdeas::define(unknown, {}, {}, "A key idea of physics");
        QCOMPARE(unknown[0].definition, "A key idea of physics");
    }
};

QTEST_MAIN(MnemonicGeneratorTest)
#include "MnemonicGeneratorTest.moc"
