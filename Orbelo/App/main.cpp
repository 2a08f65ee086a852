#include "APIConfiguration.h"
#include "AppInfo.h"
#include "Auth/AuthSession.h"
#include "BrowserAuthenticationSession.h"
#include "Common/AppContext.h"
#include "Courses/TextRecognizerProvider.h"
#include "NotificationManager.h"
#include "ProcessEnd.h"
#include "Shell/OrbeloApp.h"
#include "Shell/ServerOverride.h"
#include "Shell/StartupExit.h"
#include "Shell/StartupTrace.h"
#include "SingleInstance.h"
#include "SymbolImageProvider.h"

#include <QCommandLineParser>
#include <QFile>
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickStyle>
#include <QQuickWindow>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(DesignKitPlugin)
Q_IMPORT_QML_PLUGIN(OrbeloModelsPlugin)
Q_IMPORT_QML_PLUGIN(OrbeloViewsPlugin)

namespace {

// Adds the certificate at `path` (PEM) to the certificates every TLS connection trusts: how a build
// talks to the local server and its self-signed certificate. Answers the certificates as PEM text,
// empty when the file holds none.
QString trustCertificate(const QString& path) {
    const QList<QSslCertificate> certificates = QSslCertificate::fromPath(path, QSsl::Pem);
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.addCaCertificates(certificates);
    QSslConfiguration::setDefaultConfiguration(configuration);
    QByteArray pem;
    for (const QSslCertificate& certificate : certificates)
        pem += certificate.toPem();
    return QString::fromLatin1(pem);
}

void bringToFront(QQmlApplicationEngine& engine) {
    for (QObject* root : engine.rootObjects())
        if (auto* window = qobject_cast<QQuickWindow*>(root)) {
            window->show();
            window->raise();
            window->requestActivate();
        }
}

} // namespace

int main(int argc, char* argv[]) {
    ProcessEnd::skipLibraryTeardown();
    StartupTrace::mark("main");
    QGuiApplication application(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("Orbelo"));
    QGuiApplication::setOrganizationName(QStringLiteral("Orbelo"));
    QGuiApplication::setDesktopFileName(QStringLiteral("com.orbelo.desktop"));

    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption trust(
        QStringLiteral("trust-certificate"),
        QStringLiteral("Also trust the PEM certificate in <file> (the local server's)."),
        QStringLiteral("file"));
    parser.addOption(trust);
    const QCommandLineOption server(
        QStringLiteral("server"),
        QStringLiteral("Talk to the server at <origin> (https://host:port) instead of the build's."),
        QStringLiteral("origin"));
    parser.addOption(server);
    const QCommandLineOption deepLink(
        QStringLiteral("deep-link"),
        QStringLiteral("Open <link> (a clicked notification's, e.g. quiz-auto-start)."),
        QStringLiteral("link"));
    parser.addOption(deepLink);
    parser.addPositionalArgument(QStringLiteral("url"),
                                 QStringLiteral("A sign-in callback URL from the browser."),
                                 QStringLiteral("[url]"));
    parser.process(application);
    if (QString error; parser.isSet(server) && !ServerOverride::apply(parser.value(server), &error))
        qFatal("%s", qPrintable(error));

    // The browser starts `orbelo <callback>`, the notifier `orbelo --deep-link <link>`: a running
    // instance takes either, and this process ends.
    const QUrl startURL(parser.positionalArguments().value(0));
    const QString startLink = parser.value(deepLink);
    SingleInstance instance(SingleInstance::socketName(AppInfo::appId()));
    const SingleInstance::Role role =
        parser.isSet(deepLink) ? instance.claimForDeepLink(startLink) : instance.claim(startURL);
    if (role == SingleInstance::Role::handedOver)
        return 0;
    // A click on a notification with the app closed: the link waits for the shell to route it.
    if (parser.isSet(deepLink))
        NotificationManager::shared().openDeepLink(startLink);

    AppContext context(APIConfiguration::baseURL(), AuthSession::tokenProvider());
    OrbeloApp app(context); // outlives the window, which uses its objects
    const TextRecognizerProvider::SystemInstallation textRecognition; // outlives the window too
    QQuickStyle::setStyle(QStringLiteral("Basic"));
    QQmlApplicationEngine engine;
    engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
    context.provideTo(engine);
    engine.addImageProvider(QStringLiteral("symbol"), new SymbolImageProvider);
    QObject::connect(
        &engine, &QQmlApplicationEngine::objectCreationFailed, &application,
        [] { QCoreApplication::exit(1); }, Qt::QueuedConnection);

    // The window comes first, with only the splash in it. Once that is on screen the app launches
    // (TLS set-up, the auth client, the network monitor), and the content loads behind the splash.
    const auto launch = [&] {
        if (StartupExit::shared().isEnding())
            return; // the run was only timing its first frame
        QString trusted;
        if (parser.isSet(trust) && (trusted = trustCertificate(parser.value(trust))).isEmpty())
            qWarning("no certificate in %s", qPrintable(parser.value(trust)));
        app.launch(trusted);
        StartupTrace::mark("launched");
        for (QObject* root : engine.rootObjects())
            root->setProperty("networkMonitor", QVariant::fromValue(app.networkMonitor()));
        if (!startURL.isEmpty())
            BrowserAuthenticationSession::shared().complete(startURL);
    };
    engine.load(QUrl(QStringLiteral("qrc:/qt/qml/OrbeloViews/Main.qml")));
    StartupTrace::mark("window created");
    for (QObject* root : engine.rootObjects())
        if (auto* window = qobject_cast<QQuickWindow*>(root)) {
            StartupExit::shared().watch(window);
            // Swaps are reported on the render thread; the launch runs on this one.
            QObject::connect(window, &QQuickWindow::frameSwapped, &app, launch,
                             Qt::ConnectionType(Qt::QueuedConnection | Qt::SingleShotConnection));
        }

    QObject::connect(&instance, &SingleInstance::urlReceived, &application, [&engine](const QUrl& url) {
        BrowserAuthenticationSession::shared().complete(url);
        bringToFront(engine);
    });
    QObject::connect(&instance, &SingleInstance::deepLinkReceived, &application,
                     [&engine](const QString& link) {
                         NotificationManager::shared().openDeepLink(link);
                         bringToFront(engine);
                     });
    QObject::connect(&instance, &SingleInstance::activationRequested, &application,
                     [&engine] { bringToFront(engine); });
    return application.exec();
}
