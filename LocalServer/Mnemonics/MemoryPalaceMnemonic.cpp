#include "Mnemonics/MemoryPalaceMnemonic.h"

#include "Mnemonics/MnemonicGuideWriter.h"
#include "Mnemonics/MnemonicPhrasing.h"

#include <QSet>
#include <iterator>

using namespace MnemonicPhrasing;

namespace {

using Writer = MnemonicGuideWriter;

struct Room {
    const char* place; // with its preposition
    const char* name;
    const char* object;
};

const Room house[] = {{"At the front door", "front door", "doormat"},
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
static_assert(std::size(house) == MemoryPalaceMnemonic::rooms);

} // namespace

MnemonicGenerator::Mnemonic MemoryPalaceMnemonic::make(const QList<KeyTerm>& terms,
                                                       const MnemonicGenerator::Request& request) {
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
        const Room& room = house[i];
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
                        .arg(QString::number(i + 1), QString::fromLatin1(house[i].name), terms.at(i).term),
                    Writer::paragraph(scenes.at(i)));
    writer.card(
        QStringLiteral("Rooms, terms and images"),
        Writer::table({QStringLiteral("Room"), QStringLiteral("Term"), QStringLiteral("Image")}, rows));
    writer.tip(QStringLiteral("Use a place you know well and keep the path the same every time; the stranger "
                              "the picture, the better it sticks."));
    MnemonicGenerator::Mnemonic result;
    result.terms = terms;
    result.device = QStringLiteral("A walk from the front door to the %1")
                        .arg(QString::fromLatin1(house[terms.size() - 1].name));
    result.html = writer.html();
    result.explanation = QStringLiteral("A memory palace of %1 rooms: %2.")
                             .arg(QString::number(terms.size()), legend.join(QStringLiteral(", ")));
    return result;
}
