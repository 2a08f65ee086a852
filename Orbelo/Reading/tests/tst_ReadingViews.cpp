#include "ViewTest.h"

#include "VirtualClock.h"

// The Reading screens load without QML errors, and what a user reaches them by is there.
class ReadingViewsTest : public ViewTest {
    Q_OBJECT
private Q_SLOTS:
    // A course's reading guide over a window: the style menu, the loading lines, then (no backend
    // here) the failure line with the offer to write a guide; Close closes the sheet.
    void readingGuideSheet() {
        async::VirtualClock clock;
        async::ScopedClock scoped(clock);
        QQuickWindow window;
        window.resize(1200, 800);
        QQmlComponent component(engine.get(),
                                QUrl(QStringLiteral("qrc:/qt/qml/OrbeloViews/ReadingGuideSheet.qml")));
        QVERIFY2(!component.isError(), qPrintable(component.errorString()));
        std::unique_ptr<QObject> sheet(
            component.createWithInitialProperties({{"parent", QVariant::fromValue(window.contentItem())},
                                                   {"courseId", "c1"},
                                                   {"title", "BIOL 110"}}));
        QVERIFY(sheet);
        QMetaObject::invokeMethod(sheet.get(), "open");
        QTRY_VERIFY(sheet->property("opened").toBool());
        QQuickItem* root = window.contentItem();
        for (const char* name :
             {"Reading guide", "Reading guide · BIOL 110", "Guided reading template", "Refresh", "Close",
              "Building your comprehensive guide…", "This can take up to a minute the first time."})
            QVERIFY2(itemsNamed(root, QString::fromUtf8(name)).size() >= 1, name);
        QCOMPARE(itemsNamed(root, "Guided reading template").at(0)->property("displayText").toString(),
                 QStringLiteral("Reading guide style: Comprehensive"));
        QTRY_VERIFY((clock.advanceToNextTimer(), itemsNamed(root, "Generate reading guide").size() == 1));
        QVERIFY(itemsNamed(root, "Building your comprehensive guide…").isEmpty());
        QCOMPARE(itemsNamed(root,
                            "No reading guide yet. Generate a Comprehensive reading guide for this course — "
                            "Cornell notes, key concepts, vocabulary, and comprehension questions.")
                     .size(),
                 1);
        // Sections of a guide that has not come are not shown.
        for (const char* name : {"Before you read", "Cornell notes", "Vocabulary", "Study as flashcards"})
            QVERIFY2(itemsNamed(root, QString::fromUtf8(name)).isEmpty(), name);
        press(root, "Close");
        QTRY_VERIFY(!sheet->property("visible").toBool());
    }
};

QTEST_MAIN(ReadingViewsTest)
#include "tst_ReadingViews.moc"
