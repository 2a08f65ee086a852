// How well a speech recogniser understands each installed voice reading a lecture paragraph: word
// error rate of pocketsphinx's US English model on what SpeechSynthesizer made (resampled to 16 kHz
// mono by sox), and whether the voice the server chooses is the best of them. Run by hand; exits 1
// when the chosen voice is not the best measured, 2 when something could not be run.

#include "InstalledVoices.h"
#include "SpeechSynthesizer.h"
#include "SpeechVoice.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

namespace {

const QString paragraph = QStringLiteral(
    "Cellular respiration is how a cell releases the energy stored in its food. It starts in the "
    "cytoplasm, where glycolysis breaks one molecule of glucose into two smaller molecules of "
    "pyruvate. The pyruvate then moves into the mitochondria. There, the citric acid cycle strips away "
    "electrons, and the electron transport chain uses them to pump protons across the inner membrane. "
    "As the protons flow back, an enzyme makes most of the cell's supply of energy. Oxygen accepts the "
    "spent electrons and forms water.");

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
    double synthesisSeconds = 0;
    double wordErrorRate = 0;
};

std::optional<Measurement> measure(const SpeechVoice& voice, const QTemporaryDir& work) {
    const QString spoken = work.filePath(voice.provider() + '-' + voice.name + ".wav");
    const QString resampled = work.filePath(voice.provider() + '-' + voice.name + "-16k.wav");
    QString error;
    QElapsedTimer timer;
    timer.start();
    if (!SpeechSynthesizer::synthesize(paragraph, voice, spoken, &error)) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(voice.provider()), qPrintable(error));
        return std::nullopt;
    }
    const double seconds = double(timer.elapsed()) / 1000;
    // Without dither, so that the same audio is always heard the same.
    if (!runTool("sox", {"-D", spoken, "-r", "16000", "-c", "1", "-b", "16", resampled}))
        return std::nullopt;
    const auto heard = runTool("pocketsphinx_continuous", {"-infile", resampled, "-logfn", "/dev/null"});
    if (!heard)
        return std::nullopt;
    const QStringList reference = wordsOf(paragraph);
    return Measurement{voice, seconds,
                       double(editDistance(reference, wordsOf(QString::fromUtf8(*heard)))) /
                           reference.size()};
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
    std::printf("%d words, pocketsphinx_continuous (en-us) on 16 kHz mono\n\n",
                int(wordsOf(paragraph).size()));
    std::printf("%-10s %-24s %8s %12s\n", "engine", "voice", "WER", "synthesis");
    double best = 1e9;
    for (const Measurement& m : measured) {
        std::printf("%-10s %-24s %7.1f%% %10.2f s%s\n", qPrintable(m.voice.provider()),
                    qPrintable(m.voice.name), 100 * m.wordErrorRate, m.synthesisSeconds,
                    m.voice == chosen ? "  (chosen)" : "");
        best = std::min(best, m.wordErrorRate);
    }
    const auto chosenMeasurement = std::find_if(measured.begin(), measured.end(),
                                                [&](const Measurement& m) { return m.voice == chosen; });
    const bool chosenIsBest = chosenMeasurement->wordErrorRate <= best;
    std::printf("\nthe server's choice, %s %s, %s\n", qPrintable(chosen.provider()), qPrintable(chosen.name),
                chosenIsBest ? "is the best measured" : "is NOT the best measured");
    return chosenIsBest ? 0 : 1;
}
