#include "ViewTest.h"

#include "Common/AppContext.h"
#include "Notifications/NotificationsModel.h"
#include "ScriptedClient.h"
#include "ScriptedHttpServer.h"

// The Notifications screens load without QML errors, and what a user reaches them by is there.
class NotificationsViewsTest : public ViewTest {
    Q_OBJECT
private Q_SLOTS:
    // The Notifications tab: without a backend it offers a retry.
    void notificationsTab() {
        std::unique_ptr<QQuickItem> shell = load("RootShell.qml");
        QVERIFY(shell);
        Q_EMIT context->sectionRequested(7);
        QTRY_COMPARE(itemsNamed(shell.get(), "Try again").size(), 1);
        QCOMPARE(itemsNamed(shell.get(), "Mark all read").size(), 1);
        QCOMPARE(itemsNamed(shell.get(), "Refresh").size(), 1);
        QCOMPARE(itemsNamed(shell.get(), "Couldn't load notifications").size(), 1);
    }

    // The inbox's rows by their spoken names; Tab reaches them, arrows move between them and Enter
    // opens one, which routes it; "Mark all read" is there while something is unread.
    void notificationsList() {
        ScriptedHttpServer server;
        server.setHandler([](const RecordedRequest& r) {
            if (r.method == "PATCH")
                return ScriptedResponse::json(200, R"({"message":"ok"})");
            return ScriptedResponse::json(
                200, R"({"notifications":[)"
                     R"({"id":"n1","type":"study_task","title":"Review cells","message":"Ten minutes",)"
                     R"("is_read":false,"metadata":{}},)"
                     R"({"id":"n2","type":"shared_document","title":"New notes","message":"From Ana",)"
                     R"("is_read":true,"metadata":{}}],"total":2,"unread":1})");
        });
        NotificationsModel inbox(scriptedClient(server), nullptr);
        inbox.setContext(context.get());
        QList<NotificationDestination> routed;
        connect(context.get(), &AppContext::notificationSelected, &inbox,
                [&](const NotificationDestination& destination) { routed << destination; });
        QQuickWindow window;
        window.resize(900, 700);
        std::unique_ptr<QQuickItem> view =
            load("NotificationsView.qml", {{"inbox", QVariant::fromValue(&inbox)}});
        QVERIFY(view);
        view->setParentItem(window.contentItem());
        QTRY_COMPARE(itemsNamed(view.get(), "Unread. Review cells. Ten minutes").size(), 1);
        QCOMPARE(itemsNamed(view.get(), "New notes. From Ana").size(), 1);
        QVERIFY(itemsNamed(view.get(), "Mark all read").at(0)->isEnabled());

        itemsNamed(view.get(), "Mark all read").at(0)->forceActiveFocus();
        QTest::keyClick(&window, Qt::Key_Tab);
        QCOMPARE(qobject_cast<QQuickItem*>(window.activeFocusItem()),
                 itemsNamed(view.get(), "Unread. Review cells. Ten minutes").value(0));
        QTest::keyClick(&window, Qt::Key_Down);
        QCOMPARE(qobject_cast<QQuickItem*>(window.activeFocusItem()),
                 itemsNamed(view.get(), "New notes. From Ana").value(0));
        QTest::keyClick(&window, Qt::Key_Return);
        QTRY_COMPARE(routed, QList{NotificationDestination::library()});
        QCOMPARE(server.requestCount(), 1); // already read: no call

        QTest::keyClick(&window, Qt::Key_Up);
        QTest::keyClick(&window, Qt::Key_Return);
        QTRY_COMPARE(routed.size(), 2);
        QCOMPARE(server.requests().last().target, QByteArray("/api/notifications/n1/read"));
        QCOMPARE(itemsNamed(view.get(), "Review cells. Ten minutes").size(), 1);
        QVERIFY(!itemsNamed(view.get(), "Mark all read").at(0)->isEnabled());

        // "Refresh" loads the inbox as View → Refresh does.
        const qsizetype before = server.requestCount();
        press(view.get(), "Refresh");
        QTRY_COMPARE(server.requestCount(), before + 1);
        QCOMPARE(server.requests().last().method, QByteArray("GET"));
    }

    // The account menu's sheet: its title, the inbox and "Done", which closes it.
    void notificationsSheet() {
        QQuickWindow window;
        window.resize(1200, 800);
        std::unique_ptr<QObject> sheet = openSheet(window, "NotificationsSheet.qml");
        QVERIFY(sheet);
        QTRY_VERIFY(sheet->property("opened").toBool());
        QQuickItem* content = window.contentItem();
        QCOMPARE(itemsNamed(content, "Notifications").size(), 3); // the dialog, its heading and the list
        QCOMPARE(itemsNamed(content, "Done").size(), 1);
        QTRY_COMPARE(itemsNamed(content, "Try again").size(), 1);
        QSignalSpy dismissed(sheet.get(), SIGNAL(dismissed()));
        press(content, "Done");
        QTRY_COMPARE(dismissed.size(), 1);
    }
};

QTEST_MAIN(NotificationsViewsTest)
#include "tst_NotificationsViews.moc"
