#include "LocalServer.h"
#include "ServerContext.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QUrl>
#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
int signalPipe[2];

void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[1], &byte, 1);
}
} // namespace

int main(int argc, char* argv[]) {
    // Everything the server creates (database, uploads, audio, secrets) is its user's alone.
    ::umask(077);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("orbelo-local-server");
    const QStringList arguments = app.arguments().mid(1);
    if (arguments.contains("--help")) {
        std::fputs(qPrintable(ServerOptions::usage()), stdout);
        return 0;
    }
    QString error;
    const auto options = ServerOptions::parse(arguments, &error);
    if (!options) {
        std::fprintf(stderr, "orbelo-local-server: %s\n%s", qPrintable(error),
                     qPrintable(ServerOptions::usage()));
        return 2;
    }

    // SIGTERM and SIGINT end the event loop through a socket pair, so that the stop is graceful.
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return 1;
    QSocketNotifier notifier(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, &app, [] { QCoreApplication::quit(); });
    std::signal(SIGTERM, onSignal);
    std::signal(SIGINT, onSignal);

    LocalServer server(*options);
    if (!server.start(&error)) {
        std::fprintf(stderr, "orbelo-local-server: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("orbelo-local-server listening on %s\n  data dir: %s\n  certificate: %s\n",
                qPrintable(server.listenUrl()), qPrintable(options->dataDir),
                qPrintable(server.certificatePath()));
    if (!options->database.isEmpty())
        std::printf("  database: %s\n", qPrintable(QUrl(options->database).toString(QUrl::RemovePassword)));
    if (!options->publicUrl.isEmpty())
        std::printf("  public address: %s\n", qPrintable(server.baseUrl()));
    const SpeechVoice& voice = server.context().voice;
    std::printf("  speech: %s, voice %s\n", qPrintable(voice.provider()), qPrintable(voice.name));
    if (options->demo)
        std::printf("  demo mode: code 424242 for example.com, mailbox: %s/mailbox\n",
                    qPrintable(server.baseUrl()));
    else
        std::printf("  controls need the admin token in %s\n", qPrintable(server.adminTokenPath()));
    std::fflush(stdout);
    const int status = app.exec();
    server.stop();
    std::printf("orbelo-local-server stopped\n");
    return status;
}
