#include "ViewTest.h"

#include "Library/NotesSectionModel.h"
#include "VirtualClock.h"

// The Library screens load without QML errors, and what a user reaches them by is there.
class LibraryViewsTest : public ViewTest {
    Q_OBJECT
private Q_SLOTS:
    // A document's notes screen before its notes have come: the empty state with its action and
    // the narration entry, which hands the document on.
    void documentDetailScreen() {
        async::VirtualClock clock;
        async::ScopedClock scoped(clock);
        std::unique_ptr<QQuickItem> view =
            load("DocumentDetailView.qml", {{"documentId", "doc_1"}, {"title", "Cell Biology"}});
        QVERIFY(view);
        // No backend answers here: the load (with its retry, on the virtual clock) ends in its error
        // line, then the empty state shows.
        QVERIFY(!itemsNamed(view.get(), "Loading notes").isEmpty());
        QTRY_VERIFY((clock.advanceToNextTimer(), itemsNamed(view.get(), "Generate notes").size() == 1));
        for (const char* name : {"Back to the library", "Cell Biology", "Refresh", "Create mnemonic",
                                 "No notes yet. Generate study notes from this document — a summary, key "
                                 "concepts, and key terms.",
                                 "Large documents can take up to 30 seconds."})
            QVERIFY2(itemsNamed(view.get(), QString::fromUtf8(name)).size() == 1, name);
        // A document outside any course has no reading guide to offer.
        QVERIFY(itemsNamed(view.get(), "Reading guide").isEmpty());
        QSignalSpy narration(view.get(), SIGNAL(narrationRequested(QString, QString)));
        press(view.get(), "Listen");
        QCOMPARE(narration.size(), 1);
        QCOMPARE(narration[0], QVariantList({"doc_1", "Cell Biology"}));
        QSignalSpy close(view.get(), SIGNAL(closeRequested()));
        press(view.get(), "Back to the library");
        QCOMPARE(close.size(), 1);
    }

    // A section of notes shows its blocks and offers Copy and Save, naming the section.
    void notesSectionCard() {
        NotesSectionModel section({"Key terms", "character.book.closed",
                                   "## Energy\n- **ATP**: carries energy\n  1. made in the mitochondrion"});
        std::unique_ptr<QQuickItem> card =
            load("NotesSectionCard.qml",
                 {{"section", QVariant::fromValue<QObject*>(&section)}, {"documentTitle", "Cells"}});
        QVERIFY(card);
        for (const char* name : {"Key terms", "Energy", "ATP: carries energy", "1. made in the mitochondrion",
                                 "Save Key terms as Markdown…"})
            QVERIFY2(itemsNamed(card.get(), QString::fromUtf8(name)).size() == 1, name);
        press(card.get(), "Copy Key terms");
        QCOMPARE(itemsNamed(card.get(), "Copied").size(), 1);
    }

    // The Library: its header controls are reachable by name, and the add menu offers the upload.
    void libraryScreen() {
        std::unique_ptr<QQuickItem> view = load("DocumentsView.qml");
        QVERIFY(view);
        for (const char* name : {"Search your documents", "Filter by course", "Refresh", "Rewards",
                                 "Add a syllabus or upload a document"})
            QVERIFY2(itemsNamed(view.get(), name).size() == 1, name);
    }
};

QTEST_MAIN(LibraryViewsTest)
#include "tst_LibraryViews.moc"
