#pragma once

#include "ClerkLogger.h"
#include "ClerkRequestMiddleware.h"
#include "ClerkResponseMiddleware.h"

#include <QUrl>

#include <memory>
#include <optional>
#include <vector>

// How the app configures the auth client (Clerk::Options); every field has a default.
struct ClerkOptions {
    struct SecretStoreConfig {
        // The Secret Service's service name the items are stored under.
        QString service;
    };
    struct RedirectConfig {
        QString redirectUrl;
        QString callbackUrlScheme;
    };
    // Extra middlewares: requests run them after the built-in ones; responses before the
    // built-in ones, so they also see answers that fail.
    struct MiddlewareConfig {
        std::vector<std::shared_ptr<ClerkRequestMiddleware>> requestMiddlewares;
        std::vector<std::shared_ptr<ClerkResponseMiddleware>> responseMiddlewares;
    };

    ClerkOptions();

    LogLevel logLevel = LogLevel::verbose;
    bool telemetryEnabled = true;
    SecretStoreConfig secretStoreConfig;
    std::optional<QUrl> proxyUrl;
    RedirectConfig redirectConfig;
    bool watchConnectivityEnabled = false;
    ClerkLogger::Handler loggerHandler;
    MiddlewareConfig middleware;
    // Where telemetry goes; by default the Frontend API's own origin (the local server in the
    // default build).
    std::optional<QUrl> telemetryBaseUrl;
};
