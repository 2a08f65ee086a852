#include "ViewTest.h"

#include "VirtualClock.h"

// The Mnemonics screens load without QML errors, and what a user reaches them by is there.
class MnemonicsViewsTest : public ViewTest {
    Q_OBJECT
private Q_SLOTS:
    // The mnemonic sheet opens over a window with every choice named; without documents (no backend
    // here) "Create Mnemonic" stays off.
    void mnemonicGenerationSheet() {
        async::VirtualClock clock;
        async::ScopedClock scoped(clock);
        QQuickWindow window;
        window.resize(1200, 800);
        std::unique_ptr<QObject> sheet = openSheet(window, "MnemonicGenerationSheet.qml");
        QVERIFY(sheet);
        for (const char* name : {"Course", "Document", "Mnemonic type", "Difficulty", "Key ideas (optional)",
                                 "Create Mnemonic", "Close"})
            QVERIFY2(itemsNamed(window.contentItem(), QString::fromUtf8(name)).size() == 1, name);
        QVERIFY(!itemsNamed(window.contentItem(), "Create mnemonic").isEmpty());
        QVERIFY(!itemsNamed(window.contentItem(), "Create Mnemonic").at(0)->isEnabled());
        // The pickers show their defaults.
        QCOMPARE(itemsNamed(window.contentItem(), "Mnemonic type").at(0)->property("displayText").toString(),
                 QStringLiteral("Any (auto-select)"));
        QCOMPARE(itemsNamed(window.contentItem(), "Difficulty").at(0)->property("displayText").toString(),
                 QStringLiteral("Medium"));
        press(window.contentItem(), "Close");
        QTRY_VERIFY(!sheet->property("visible").toBool());
    }

    // A mnemonic in full: the image actions, the tip and the collapsed cards, which show their
    // Markdown and grid blocks once expanded; text that is no guide shows as Markdown.
    void mnemonicDetailView() {
        const QString guide =
            "<div style=\"background:#F5F5F5\"><h3>How to use these mnemonics</h3><p>Say it aloud.</p></div>"
            "<div style=\"background:#FFF3E0\"><h3>PMAT</h3><p>The <b>order</b> of mitosis</p>"
            "<table><tr><td>P</td><td>Prophase</td></tr><tr><td>M</td><td>Metaphase</td></tr></table></div>"
            "<div style=\"background:#E3F2FD\"><h3>Spindle</h3><p>Fibres pull</p></div>";
        std::unique_ptr<QQuickItem> view =
            load("MnemonicDetailView.qml",
                 {{"text", guide}, {"title", "Cell Biology"}, {"explanation", "Stages in order."}});
        QVERIFY(view);
        for (const char* name : {"Save image…", "Copy image", "Cell Biology", "Tip: Say it aloud.", "PMAT",
                                 "Spindle", "Why it works", "Stages in order."})
            QVERIFY2(itemsNamed(view.get(), QString::fromUtf8(name)).size() == 1, name);
        QVERIFY(itemsNamed(view.get(), "The order of mitosis").isEmpty());
        QQuickItem* card = itemsNamed(view.get(), "PMAT").at(0);
        QVERIFY(QMetaObject::invokeMethod(card, "toggle"));
        QCOMPARE(itemsNamed(view.get(), "The order of mitosis").size(), 1);
        QCOMPARE(itemsNamed(view.get(), "Prophase").size(), 1);
        // The grid keeps its two columns: the second row starts under the first.
        const auto position = [&](const char* name) {
            QQuickItem* cell = itemsNamed(view.get(), name).at(0);
            return cell->mapToItem(view.get(), QPointF(0, 0));
        };
        QCOMPARE(position("M").x(), position("P").x());
        QVERIFY(position("M").y() > position("P").y());
        QCOMPARE(position("Prophase").y(), position("P").y());

        view->setProperty("text", "**HOMES**: the Great Lakes");
        QCOMPARE(itemsNamed(view.get(), "HOMES: the Great Lakes").size(), 1);
        QVERIFY(itemsNamed(view.get(), "PMAT").isEmpty());
    }

    // The sheet for a mnemonic that already exists carries the same actions.
    void mnemonicDetailSheet() {
        QQuickWindow window;
        window.resize(1200, 800);
        std::unique_ptr<QObject> sheet = openSheet(window, "MnemonicDetailSheet.qml");
        QVERIFY(sheet);
        sheet->setProperty("text", "Kings Play Chess On Fine Grain Sand");
        for (const char* name : {"Save image…", "Copy image", "Close", "Kings Play Chess On Fine Grain Sand"})
            QVERIFY2(itemsNamed(window.contentItem(), QString::fromUtf8(name)).size() == 1, name);
    }
};

QTEST_MAIN(MnemonicsViewsTest)
#include "tst_MnemonicsViews.moc"
