// How well a speech recogniser understands each installed voice reading four lecture paragraphs:
// word error rate of pocketsphinx's US English model on what SpeechSynthesizer made (resampled to
// 16 kHz mono by sox), per paragraph and over all of them, and whether the voice the server chooses
// is the best of them overall. Run by hand; exits 1 when the chosen voice is not the best measured,
// 2 when something could not be run.

#include "Speech/InstalledVoices.h"
#include "Speech/SpeechSynthesizer.h"
#include "Speech/SpeechVoice.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>
#include <vector>

namespace {

struct Paragraph {
    const char* subject; // the column it is reported under
    QString text;
};

// Four subjects, so that one paragraph's hard words do not decide the ranking alone.
const std::array paragraphs{
    Paragraph{
        "respiration",
        QStringLiteral("Cellular respiration is how a cell releases the energy stored in its food. It starts "
                       "in the cytoplasm, where glycolysis breaks one molecule of glucose into two smaller "
                       "molecules of pyruvate. The pyruvate then moves into the mitochondria. There, the "
                       "citric acid cycle strips away electrons, and the electron transport chain uses them "
                       "to pump protons across the inner membrane. As the protons flow back, an enzyme makes "
                       "most of the cell's supply of energy. Oxygen accepts the spent electrons and forms "
                       "water.")},
    Paragraph{
        "tectonics",
        QStringLiteral("The outer shell of the Earth is broken into large rigid plates that ride on the hot, "
                       "slowly flowing rock of the mantle below them. These plates move only a few inches "
                       "each year, about as fast as your fingernails grow. Where two plates pull apart, "
                       "melted rock rises to fill the gap and forms new crust along the ridges of the ocean "
                       "floor. Where they push together, one plate may slide beneath the other, raising "
                       "mountains and feeding volcanoes. Most earthquakes happen along these boundaries.")},
    Paragraph{
        "market",
        QStringLiteral("In a market, the price of a good depends on both supply and demand. Demand tells us "
                       "how much buyers want to purchase at each price, and it usually falls as the price "
                       "goes up. Supply tells us how much sellers are willing to offer, and it usually rises "
                       "with the price. The point where the two curves cross is called the equilibrium. If "
                       "the price is held above that point, unsold goods pile up, and if it is held below "
                       "it, shortages appear.")},
    Paragraph{
        "motion",
        QStringLiteral("Isaac Newton described motion with three simple laws. The first says that an object "
                       "keeps moving at the same speed in a straight line unless a force acts on it. The "
                       "second says that force equals mass times acceleration, so a heavier object needs a "
                       "bigger push to speed up at the same rate. The third says that every action has an "
                       "equal and opposite reaction. When you lean against a wall, the wall pushes back on "
                       "you just as hard.")},
};

// Lower-cased words without punctuation; "cell's" is "cells" on both sides.
QStringList wordsOf(QString text) {
    static const QRegularExpression nonWord(QStringLiteral("[^a-z0-9]+"));
    return text.toLower().remove(u'\'').replace(nonWord, QStringLiteral(" ")).split(u' ', Qt::SkipEmptyParts);
}

// Word-level Levenshtein distance: substitutions, insertions and deletions.
qsizetype editDistance(const QStringList& reference, const QStringList& heard) {
    std::vector<qsizetype> row(size_t(heard.size() + 1));
    for (qsizetype j = 0; j <= heard.size(); ++j)
        row[size_t(j)] = j;
    for (qsizetype i = 1; i <= reference.size(); ++i) {
        qsizetype diagonal = row[0];
        row[0] = i;
        for (qsizetype j = 1; j <= heard.size(); ++j) {
            const qsizetype above = row[size_t(j)];
            const qsizetype substitution = diagonal + (reference[i - 1] == heard[j - 1] ? 0 : 1);
            row[size_t(j)] = std::min({substitution, above + 1, row[size_t(j - 1)] + 1});
            diagonal = above;
        }
    }
    return row[size_t(heard.size())];
}

std::optional<QByteArray> runTool(const QString& program, const QStringList& arguments) {
    QProcess tool;
    tool.start(program, arguments);
    if (!tool.waitForFinished(300000) || tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0) {
        std::fprintf(stderr, "%s failed: %s\n", qPrintable(program), tool.readAllStandardError().constData());
        return std::nullopt;
    }
    return tool.readAllStandardOutput();
}

struct Measurement {
    SpeechVoice voice;
    double synthesisSeconds = 0;   // all paragraphs
    std::vector<qsizetype> errors; // word errors in each paragraph
};

qsizetype referenceWords(const Paragraph& paragraph) {
    return wordsOf(paragraph.text).size();
}

qsizetype totalReferenceWords() {
    qsizetype total = 0;
    for (const Paragraph& paragraph : paragraphs)
        total += referenceWords(paragraph);
    return total;
}

// Total word errors over total reference words, so that each paragraph weighs by its length.
double overallRate(const Measurement& m) {
    qsizetype errors = 0;
    for (const qsizetype e : m.errors)
        errors += e;
    return double(errors) / double(totalReferenceWords());
}

std::optional<Measurement> measure(const SpeechVoice& voice, const QTemporaryDir& work) {
    Measurement measurement{voice, 0, {}};
    for (const Paragraph& paragraph : paragraphs) {
        const QString stem = voice.provider() + '-' + voice.name + '-' + paragraph.subject;
        const QString spoken = work.filePath(stem + ".wav");
        const QString resampled = work.filePath(stem + "-16k.wav");
        QString error;
        QElapsedTimer timer;
        timer.start();
        if (!SpeechSynthesizer::synthesize(paragraph.text, voice, spoken, &error)) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(voice.provider()), qPrintable(error));
            return std::nullopt;
        }
        measurement.synthesisSeconds += double(timer.elapsed()) / 1000;
        // Without dither, so that the same audio is always heard the same.
        if (!runTool("sox", {"-D", spoken, "-r", "16000", "-c", "1", "-b", "16", resampled}))
            return std::nullopt;
        const auto heard = runTool("pocketsphinx_continuous", {"-infile", resampled, "-logfn", "/dev/null"});
        if (!heard)
            return std::nullopt;
        measurement.errors.push_back(
            editDistance(wordsOf(paragraph.text), wordsOf(QString::fromUtf8(*heard))));
    }
    return measurement;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const InstalledVoices installed = InstalledVoices::probe();
    const SpeechVoice chosen = SpeechVoice::mostIntelligible(installed);
    std::vector<SpeechVoice> voices;
    if (installed.espeak)
        voices.push_back(
            {SpeechVoice::Engine::espeak, QString::fromLatin1(SpeechSynthesizer::defaultEspeakVoice)});
    if (installed.fliteVoices.contains("slt"))
        voices.push_back({SpeechVoice::Engine::flite, "slt"});
    for (const QString& name : installed.festivalVoices)
        voices.push_back({SpeechVoice::Engine::festival, name});
    if (std::find(voices.begin(), voices.end(), chosen) == voices.end())
        voices.push_back(chosen);

    QTemporaryDir work;
    std::vector<Measurement> measured;
    for (const SpeechVoice& voice : voices) {
        const auto measurement = measure(voice, work);
        if (!measurement)
            return 2;
        measured.push_back(*measurement);
    }
    std::printf("%d paragraphs, %d words, pocketsphinx_continuous (en-us) on 16 kHz mono\n\n",
                int(paragraphs.size()), int(totalReferenceWords()));
    std::printf("%-10s %-24s", "engine", "voice");
    for (const Paragraph& paragraph : paragraphs)
        std::printf(" %11s", paragraph.subject);
    std::printf(" %11s %12s\n", "overall", "synthesis");
    std::printf("%-10s %-24s", "", "");
    for (const Paragraph& paragraph : paragraphs)
        std::printf(" %5d words", int(referenceWords(paragraph)));
    std::printf(" %5d words\n", int(totalReferenceWords()));
    double best = 1e9;
    for (const Measurement& m : measured) {
        std::printf("%-10s %-24s", qPrintable(m.voice.provider()), qPrintable(m.voice.name));
        for (size_t i = 0; i < paragraphs.size(); ++i)
            std::printf(" %10.1f%%", 100 * double(m.errors[i]) / double(referenceWords(paragraphs[i])));
        std::printf(" %10.1f%% %10.2f s%s\n", 100 * overallRate(m), m.synthesisSeconds,
                    m.voice == chosen ? "  (chosen)" : "");
        best = std::min(best, overallRate(m));
    }
    const auto chosenMeasurement = std::find_if(measured.begin(), measured.end(),
                                                [&](const Measurement& m) { return m.voice == chosen; });
    const bool chosenIsBest = overallRate(*chosenMeasurement) <= best;
    std::printf("\nthe server's choice, %s %s, %s\n", qPrintable(chosen.provider()), qPrintable(chosen.name),
                chosenIsBest ? "is the best measured overall" : "is NOT the best measured overall");
    return chosenIsBest ? 0 : 1;
}
