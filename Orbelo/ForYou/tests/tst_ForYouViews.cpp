#include "ViewTest.h"

#include "ForYou/DailyStudyFeedModel.h"
#include "ScriptedClient.h"
#include "ScriptedHttpServer.h"

// The ForYou screens load without QML errors, and what a user reaches them by is there.
class ForYouViewsTest : public ViewTest {
    Q_OBJECT
private Q_SLOTS:
    // The For You tab without a backend: its failure line and retry, and no empty-feed message.
    void forYouScreen() {
        std::unique_ptr<QQuickItem> view = load("ForYouView.qml");
        QVERIFY(view);
        QTRY_COMPARE(itemsNamed(view.get(), "Try again").size(), 1);
        QCOMPARE(itemsNamed(view.get(), "Refresh").size(), 1);
        QVERIFY(itemsNamed(view.get(), "Go to Library").isEmpty());
    }

    // A card's face: what it says, its heart's spoken label and its actions in reading order; the
    // video and mnemonic only when the card has them.
    void forYouCardFace() {
        QVariantMap card{{"cardId", "c1"},
                         {"title", "Osmosis"},
                         {"body", "Water moves across a membrane."},
                         {"topic", "Biology"},
                         {"difficultyText", "Difficulty: Advanced"},
                         {"isCommunity", true},
                         {"authorText", "Authored by Ada"},
                         {"liked", false},
                         {"likesText", "3 likes"},
                         {"likeInFlight", false},
                         {"likeAccessibleName", "Like. 3 likes"},
                         {"mnemonic", "Osmosis: **O**ut of the salty."},
                         {"videoUrl", "https://www.youtube.com/watch?v=vid1"},
                         {"readAloudText", "Osmosis. Water moves across a membrane."}};
        QQuickWindow window;
        std::unique_ptr<QQuickItem> view = load("ForYouCardFace.qml", {{"card", card}});
        QVERIFY(view);
        view->setParentItem(window.contentItem());
        QList<QQuickItem*> order;
        for (const char* name : {"Osmosis", "Water moves across a membrane.", "Difficulty: Advanced",
                                 "Source: community", "Authored by Ada", "Like. 3 likes",
                                 "Listen to this card", "Show mnemonic", "Watch on YouTube"}) {
            const QList<QQuickItem*> found = itemsNamed(view.get(), name);
            QVERIFY2(found.size() == 1, name);
            order << found[0];
        }
        // The controls take the focus in the order they are read.
        QQuickItem* control = order[5];
        for (int i = 6; i < order.size(); ++i) {
            control = control->nextItemInFocusChain();
            QVERIFY2(control == order[i], qPrintable(control->property("text").toString()));
        }

        card["videoUrl"] = "";
        card["mnemonic"] = "";
        card["isCommunity"] = false;
        card["authorText"] = "";
        view->setProperty("card", card);
        for (const char* gone : {"Watch on YouTube", "Show mnemonic", "Source: community", "Authored by Ada"})
            QVERIFY2(itemsNamed(view.get(), gone).isEmpty(), gone);
    }

    // The daily feed on its card, by keys: → moves on, S skips, L likes; the last card finishes the
    // session and the card says so.
    void dailyStudyFeedCard() {
        ScriptedHttpServer server;
        server.setHandler([](const RecordedRequest& r) {
            if (r.path == "/api/courses/foryou/feed")
                return ScriptedResponse::json(200, R"({"items":[
                        {"card_id":"a","concept_id":"x","card_type":"t","card_source":"generated","title":"First","body":"1","likes_count":2},
                        {"card_id":"b","concept_id":"y","card_type":"t","card_source":"generated","title":"Second","body":"2"},
                        {"card_id":"c","concept_id":"z","card_type":"t","card_source":"generated","title":"Third","body":"3"}]})");
            if (r.path.endsWith("/like"))
                return ScriptedResponse::json(200, R"({"card_id":"a","liked":true,"likes_count":3})");
            return ScriptedResponse::json(200, "{}");
        });
        DailyStudyFeedModel model(scriptedClient(server));
        model.load();
        QTRY_COMPARE(model.count(), 3);
        QQuickWindow window;
        std::unique_ptr<QQuickItem> view =
            load("DailyStudyFeedCard.qml", {{"model", QVariant::fromValue(&model)}});
        QVERIFY(view);
        view->setParentItem(window.contentItem());
        for (const char* name :
             {"Card 1 of 3", "First", "Got it, next card", "Skip this card", "Like. 2 likes"})
            QVERIFY2(itemsNamed(view.get(), name).size() == 1, name);
        view->forceActiveFocus();

        QTest::keyClick(&window, Qt::Key_L);
        QTRY_COMPARE(itemsNamed(view.get(), "Unlike. 3 likes").size(), 1);
        QTest::keyClick(&window, Qt::Key_Right);
        QCOMPARE(itemsNamed(view.get(), "Second").size(), 1);
        QTest::keyClick(&window, Qt::Key_S);
        QCOMPARE(itemsNamed(view.get(), "Third").size(), 1);
        QVERIFY(itemsNamed(view.get(), "Got it, next card").isEmpty());
        QCOMPARE(itemsNamed(view.get(), "Finish session").size(), 1);
        QTest::keyClick(&window, Qt::Key_Return);
        QVERIFY(model.isFinished());
        QCOMPARE(itemsNamed(view.get(), "Start a new session").size(), 1);
        QVERIFY(itemsNamed(view.get(), "Skip this card").isEmpty());
    }
};

QTEST_MAIN(ForYouViewsTest)
#include "tst_ForYouViews.moc"
