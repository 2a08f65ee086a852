// The start-up benchmark's baseline: the least a Qt Quick Controls program does to put a window
// like the app's on screen (an ApplicationWindow in the Basic style). It quits once its first
// frame is on screen, as the app does under ORBELO_EXIT_AFTER_FIRST_FRAME.
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickStyle>
#include <QQuickWindow>

int main(int argc, char* argv[]) {
    QGuiApplication application(argc, argv);
    QQuickStyle::setStyle(QStringLiteral("Basic"));
    QQmlApplicationEngine engine;
    engine.loadData("import QtQuick\n"
                    "import QtQuick.Controls\n"
                    "ApplicationWindow { width: 1200; height: 800; visible: true; title: \"Bare\" }\n");
    auto* window = qobject_cast<QQuickWindow*>(engine.rootObjects().value(0));
    if (!window)
        return 1;
    QObject::connect(window, &QQuickWindow::frameSwapped, &application, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    return application.exec();
}
