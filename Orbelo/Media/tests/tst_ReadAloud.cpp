#include <QtTest>

#include "InMemoryPreferences.h"
#include "Media/PlaybackSpeed.h"
#include "Media/ReadAloudPlayer.h"
#include "Media/SpeechDispatcherModule.h"
#include "SettingsPreferences.h"

#include <QTemporaryDir>

// The stored playback speed and the read-aloud player's contract with its callers.
class ReadAloudTest : public QObject {
    Q_OBJECT
    InMemoryPreferences preferences;
private Q_SLOTS:
    // The choice survives the settings file; nothing stored, or a rate that is no choice, means 1×.
    void playbackSpeedPersists() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("prefs.conf"));
        {
            SettingsPreferences store = SettingsPreferences::atPath(file);
            QCOMPARE(PlaybackSpeed::stored(store), PlaybackSpeed(PlaybackSpeed::x100));
            PlaybackSpeed(PlaybackSpeed::x175).store(store);
            store.sync();
        }
        SettingsPreferences reopened = SettingsPreferences::atPath(file);
        QCOMPARE(PlaybackSpeed::stored(reopened), PlaybackSpeed(PlaybackSpeed::x175));
        reopened.setValue(PlaybackSpeed::preferenceKey, 3.0);
        QCOMPARE(PlaybackSpeed::stored(reopened), PlaybackSpeed(PlaybackSpeed::x100));
        reopened.setValue(PlaybackSpeed::preferenceKey, QStringLiteral("fast"));
        QCOMPARE(PlaybackSpeed::stored(reopened), PlaybackSpeed(PlaybackSpeed::x100));

        const QVariantList menu = PlaybackSpeed::menuEntries();
        QCOMPARE(menu.size(), 6);
        QCOMPARE(menu[1].toMap()["spokenLabel"].toString(), QStringLiteral("Normal speed"));
        QCOMPARE(menu[5].toMap()["label"].toString(), QStringLiteral("2×"));
    }

    // Faster speeds speak faster, within the engine's range, with 1× at the engine's default.
    void speechRateFollowsSpeed() {
        double previous = -2;
        for (const PlaybackSpeed::Value value : PlaybackSpeed::all) {
            const double rate = ReadAloudPlayer::speechRate(value);
            QVERIFY(rate > previous);
            QVERIFY(rate >= -1 && rate <= 1);
            previous = rate;
        }
        QCOMPARE(ReadAloudPlayer::speechRate(PlaybackSpeed::x100), 0.0);
    }

    // The clearest voice first: speech-dispatcher only when it speaks through festival, otherwise
    // flite before it; other engines keep their order after both.
    void enginesInOrderOfIntelligibility_data() {
        QTest::addColumn<QStringList>("available");
        QTest::addColumn<QString>("module");
        QTest::addColumn<QStringList>("ordered");
        const QStringList all{"mock", "speechd", "flite", "other"};
        QTest::newRow("festival") << all << "festival" << QStringList{"speechd", "flite", "mock", "other"};
        QTest::newRow("espeak-ng") << all << "espeak-ng" << QStringList{"flite", "speechd", "mock", "other"};
        QTest::newRow("unconfigured") << all << "" << QStringList{"flite", "speechd", "mock", "other"};
        QTest::newRow("festival, no speechd")
            << QStringList{"mock", "flite"} << "festival" << QStringList{"flite", "mock"};
        QTest::newRow("speechd alone") << QStringList{"speechd"} << "espeak-ng" << QStringList{"speechd"};
        QTest::newRow("none") << QStringList{} << "festival" << QStringList{};
    }
    void enginesInOrderOfIntelligibility() {
        QFETCH(QStringList, available);
        QFETCH(QString, module);
        QFETCH(QStringList, ordered);
        QCOMPARE(ReadAloudPlayer::orderEngines(available, module), ordered);
    }

    void speechDispatchersModule() {
        QCOMPARE(
            SpeechDispatcherModule::fromConfig("# DefaultModule espeak-ng\n"
                                               "#DefaultModule flite\n"
                                               "AddModule \"festival\" \"sd_festival\" \"festival.conf\"\n"
                                               "  defaultmodule   \"festival\"  \n"),
            QStringLiteral("festival"));
        QCOMPARE(SpeechDispatcherModule::fromConfig("DefaultModule espeak-ng\nDefaultModule festival\n"),
                 QStringLiteral("festival"));
        QCOMPARE(SpeechDispatcherModule::fromConfig("# DefaultModule festival\nDefaultModule\n"), QString());
    }

    // slt where there is one, festival's before flite's; otherwise the engine's own default.
    void sltIsTheVoice() {
        QCOMPARE(ReadAloudPlayer::preferredVoice({"kal", "awb", "slt"}), 2);
        QCOMPARE(ReadAloudPlayer::preferredVoice({"SLT", "cmu_us_slt_arctic_hts"}), 1);
        QCOMPARE(ReadAloudPlayer::preferredVoice({"kal16", "sltx", "english"}), -1);
        QCOMPARE(ReadAloudPlayer::preferredVoice({}), -1);
    }

    void fliteSpeaksWithSlt() {
        ReadAloudPlayer player(preferences, {QStringLiteral("flite")});
        if (!player.isAvailable())
            QSKIP("the flite speech engine is not installed");
        QTextToSpeech flite(QStringLiteral("flite"));
        QStringList names;
        for (const QVoice& voice : flite.availableVoices())
            names.append(voice.name());
        if (!names.contains(QStringLiteral("slt")))
            QSKIP("flite has no slt voice here");
        QCOMPARE(player.voice(), QStringLiteral("slt"));
    }

    // Without an engine the player says so, and speaking or stopping leaves it idle.
    void withoutAnEngine() {
        ReadAloudPlayer player(preferences, QStringList{});
        QVERIFY(!player.isAvailable());
        QSignalSpy changed(&player, &ReadAloudPlayer::phaseChanged);
        player.speak(QStringLiteral("Mitochondria make energy."));
        player.stop();
        QCOMPARE(player.phase(), ReadAloudPlayer::Phase::idle);
        QCOMPARE(changed.size(), 0);
    }

    // Blank text is not spoken; a text is spoken trimmed and stopping ends it at once.
    void speakAndStop() {
        ReadAloudPlayer player(preferences, {QStringLiteral("flite")});
        if (!player.isAvailable())
            QSKIP("the flite speech engine is not installed");
        player.speak(QStringLiteral(" \n\t "));
        QCOMPARE(player.phase(), ReadAloudPlayer::Phase::idle);
        player.speak(QStringLiteral("  Key terms.\n"));
        QVERIFY(player.isSpeaking());
        player.stop();
        QCOMPARE(player.phase(), ReadAloudPlayer::Phase::idle);
        QVERIFY(!player.isSpeaking());
    }
};

QTEST_MAIN(ReadAloudTest)
#include "tst_ReadAloud.moc"
