#pragma once

#include "Http/FaultInjector.h"
#include "Http/HttpLimits.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// Command-line options of orbelo-local-server.
struct ServerOptions {
    // Defaults throughout; the appcast announces the app build's own number and version.
    ServerOptions();

    quint16 port = 8443;
    // The address to listen on; loopback unless a balancer in front needs another.
    QString listenAddress = QStringLiteral("127.0.0.1");
    // The address clients reach the service at (behind a balancer): the issuer of session tokens
    // and the base of upload URLs and links. Empty: https://127.0.0.1:<port>.
    QString publicUrl;
    // Balancers whose connections start with a PROXY line naming the client (HttpServer::trustProxies),
    // spelled as QHostAddress spells them.
    QStringList trustedProxies;
    QString dataDir;
    QString database; // empty: SQLite in the data dir
    // A file holding the Base64 secret that signs tokens, shared by every process of a service;
    // empty: ORBELO_SERVER_SECRET, else the data dir's token-secret.
    QString secretFile;
    // How long a stop waits for requests under way before it closes their connections.
    int stopTimeoutMs = 10'000;
    int latencyMs = 0;
    int jobDelayMs = 1500;
    // Threads of this process that run jobs; 0: the process queues jobs and others run them.
    int jobWorkers = 2;
    // How long a process's claim on a job lasts without renewal (ms of the server clock): a process
    // killed mid-job loses the job to another this long after its last renewal.
    int jobLeaseMs = 30'000;
    QList<FaultInjector::Fault> faults;
    // What /appcast.json advertises; the defaults are the app build's own.
    int appcastBuild = 0;
    QString appcastVersion;
    QString appcastNotes;
    // Sign-up fields required beyond email address and password (SignUpRequirements::selectable).
    QStringList signUpRequires;
    // A quiz earns only when finished no faster than this per question, counted from when the
    // server last handed it out; scripted end-to-end runs that answer at machine speed lower it.
    int quizMsPerQuestion = 2'000;
    // Opens what demos and automated tests lean on: the fixed code 424242 for example.com
    // addresses, the mailbox page, the OAuth consent stand-in and the controls without a token.
    bool demo = false;
    // Timeouts, sizes and thread counts of the HTTP engine; tests shorten them.
    HttpLimits http;

    static QString defaultDataDir();
    static QString usage();
    // Parses the arguments after the program name; nothing (with `error` set) when they are invalid.
    static std::optional<ServerOptions> parse(const QStringList& arguments, QString* error);
};
