#include "Speech/SpeechVoice.h"
#include "Speech/InstalledVoices.h"
#include "Speech/SpeechSynthesizer.h"
#include "Speech/SpeechText.h"
#include "Speech/WavInfo.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using Engine = SpeechVoice::Engine;

namespace {

const QString slt = QStringLiteral("cmu_us_slt_arctic_hts");

InstalledVoices installed(const QStringList& festival, const QStringList& flite, bool espeak) {
    InstalledVoices voices;
    voices.festivalVoices = festival;
    voices.fliteVoices = flite;
    voices.espeak = espeak;
    return voices;
}

// A festival voice folder with whichever of its definition and model are asked for.
void addVoice(const QDir& voicesDir, const QString& language, const QString& name, bool definition,
              bool model) {
    const QDir voice(voicesDir.filePath(language + '/' + name));
    QVERIFY(voice.mkpath("festvox") && voice.mkpath("hts"));
    if (definition)
        QVERIFY(QFile(voice.filePath("festvox/" + name + ".scm")).open(QIODevice::WriteOnly));
    if (model)
        QVERIFY(QFile(voice.filePath("hts/" + name + ".htsvoice")).open(QIODevice::WriteOnly));
}

} // namespace

Q_DECLARE_METATYPE(InstalledVoices)
Q_DECLARE_METATYPE(SpeechVoice)

// Which engine and voice speak, and speech made by each engine that is installed.
class SpeechVoiceTest : public QObject {
    Q_OBJECT

private slots:
    void theMostIntelligibleInstalledVoiceIsChosen_data() {
        QTest::addColumn<InstalledVoices>("voices");
        QTest::addColumn<SpeechVoice>("chosen");
        const QStringList flite{"kal", "awb", "slt"};
        QTest::newRow("festival first")
            << installed({slt}, flite, true) << SpeechVoice{Engine::festival, slt};
        QTest::newRow("festival's slt among its voices")
            << installed({"cmu_us_awb_arctic_hts", slt}, {}, false) << SpeechVoice{Engine::festival, slt};
        QTest::newRow("festival's only voice") << installed({"cmu_us_awb_arctic_hts"}, {}, false)
                                               << SpeechVoice{Engine::festival, "cmu_us_awb_arctic_hts"};
        QTest::newRow("flite's slt without festival")
            << installed({}, flite, true) << SpeechVoice{Engine::flite, "slt"};
        QTest::newRow("flite without slt") << installed({}, {"kal", "awb"}, true) << SpeechVoice{};
        QTest::newRow("espeak-ng alone") << installed({}, {}, true) << SpeechVoice{};
        QTest::newRow("nothing") << installed({}, {}, false) << SpeechVoice{Engine::espeak, "en-us"};
    }
    void theMostIntelligibleInstalledVoiceIsChosen() {
        QFETCH(InstalledVoices, voices);
        QFETCH(SpeechVoice, chosen);
        QCOMPARE(SpeechVoice::mostIntelligible(voices), chosen);
    }

    // Only English HTS voices with both their definition and their model count.
    void festivalVoicesAreThoseReallyThere() {
        QTemporaryDir dir;
        const QDir voices(dir.path());
        addVoice(voices, "us", slt, true, true);
        addVoice(voices, "english", "cmu_us_awb_arctic_hts", true, true);
        addVoice(voices, "us", "cmu_us_rms_arctic_hts", true, false);
        addVoice(voices, "us", "cmu_us_bdl_arctic_hts", false, true);
        addVoice(voices, "catalan", "upc_ca_ona_hts", true, true);
        addVoice(voices, "english", "kal_diphone", true, true);
        addVoice(voices, "us", "x(voice_y)_hts", true, true);
        QCOMPARE(InstalledVoices::festivalHtsVoices(dir.path()), (QStringList{"cmu_us_awb_arctic_hts", slt}));
        QCOMPARE(InstalledVoices::festivalHtsVoices(dir.filePath("missing")), QStringList());
    }

    void fliteListsItsVoices() {
        QCOMPARE(InstalledVoices::fliteVoicesIn("Voices available: kal awb_time kal16 awb rms slt \n"),
                 (QStringList{"kal", "awb_time", "kal16", "awb", "rms", "slt"}));
        QCOMPARE(InstalledVoices::fliteVoicesIn("Voices available: \n"), QStringList());
        QCOMPARE(InstalledVoices::fliteVoicesIn("flite: unknown option\n"), QStringList());
    }

    // A requested voice is an espeak-ng name: only espeak-ng takes it, and only a well-formed one.
    void requestedVoices() {
        const SpeechVoice espeak;
        QCOMPARE(SpeechSynthesizer::voiceFor(espeak, " EN-GB "), (SpeechVoice{Engine::espeak, "en-gb"}));
        QCOMPARE(SpeechSynthesizer::voiceFor(espeak, "en-us+f3"), (SpeechVoice{Engine::espeak, "en-us+f3"}));
        QCOMPARE(SpeechSynthesizer::voiceFor(espeak, "../../etc"), espeak);
        QCOMPARE(SpeechSynthesizer::voiceFor(espeak, ""), espeak);
        const SpeechVoice festival{Engine::festival, slt};
        QCOMPARE(SpeechSynthesizer::voiceFor(festival, "en-gb"), festival);
        const SpeechVoice flite{Engine::flite, "slt"};
        QCOMPARE(SpeechSynthesizer::voiceFor(flite, ""), flite);
    }

    void festivalAndFliteAreGivenAscii() {
        QCOMPARE(SpeechText::ascii(QStringLiteral("Café “naïve” résumé’s ﬁnal—step… 10–20")),
                 QStringLiteral("Cafe \"naive\" resume's final, step... 10-20"));
        QCOMPARE(SpeechText::ascii(QStringLiteral("β-oxidation\tin\nmitochondria")),
                 QStringLiteral(" -oxidation in\nmitochondria"));
    }

    void eachInstalledEngineSpeaks_data() {
        QTest::addColumn<SpeechVoice>("voice");
        const InstalledVoices voices = InstalledVoices::probe();
        if (voices.espeak)
            QTest::newRow("espeak-ng") << SpeechVoice{};
        if (voices.fliteVoices.contains("slt"))
            QTest::newRow("flite") << SpeechVoice{Engine::flite, "slt"};
        if (voices.festivalVoices.contains(slt))
            QTest::newRow("festival") << SpeechVoice{Engine::festival, slt};
    }
    void eachInstalledEngineSpeaks() {
        QFETCH(SpeechVoice, voice);
        QTemporaryDir dir;
        const QString path = dir.filePath("clips/clip.wav");
        QString error;
        QVERIFY2(SpeechSynthesizer::synthesize(QStringLiteral("Mitochondria make the cell’s energy."), voice,
                                               path, &error),
                 qPrintable(error));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const auto wav = WavInfo::read(file.readAll());
        QVERIFY(wav);
        QCOMPARE(wav->channels, 1);
        QCOMPARE(wav->bitsPerSample, 16);
        // Six words take a second or two, not a blip and not a spelled-out string of bytes.
        QVERIFY2(wav->durationMs() > 1000 && wav->durationMs() < 4000,
                 qPrintable(QString::number(wav->durationMs())));
        QCOMPARE(file.permissions() & ~(QFile::ReadUser | QFile::WriteUser),
                 QFile::ReadOwner | QFile::WriteOwner);
        QVERIFY(!QFile::exists(path + ".part"));
    }

    // festival reports an unknown voice only on its error stream; the clip fails and leaves nothing.
    void aVoiceTheEngineLacksFails() {
        if (!InstalledVoices::probe().festivalVoices.contains(slt))
            QSKIP("festival's slt voice is not installed");
        QTemporaryDir dir;
        const QString path = dir.filePath("clip.wav");
        QString error;
        QVERIFY(
            !SpeechSynthesizer::synthesize("Hello.", {Engine::festival, "cmu_us_none_hts"}, path, &error));
        QVERIFY2(error.startsWith("text2wave failed: ") && error.contains("voice_cmu_us_none_hts"),
                 qPrintable(error));
        QVERIFY(QDir(dir.path()).isEmpty());
    }
};

QTEST_MAIN(SpeechVoiceTest)
#include "SpeechVoiceTest.moc"
