#pragma once

#include "AppInfo.h"

#include <QString>

#include <optional>

// Points a run of the app at a server other than the build's (`orbelo --server https://127.0.0.1:9443`).
// One origin serves the backend API, the auth service's Frontend API and the appcast, as the local
// server does, so the three values that name them all derive from it.
namespace ServerOverride {

// The values for the server at `origin`: its base URL, its publishable key ("pk_test_" +
// Base64URL(host:port + "$")) and its appcast URL. Nothing, with the reason in `*error`, unless
// `origin` is an https URL with a host and no path, query or fragment.
std::optional<AppInfo::Values> serverValues(const QString& origin, QString* error);

// Replaces the build's values with those of `origin` for the rest of the process; false, with the
// reason in `*error`, when `origin` is not usable. Call it before anything reads AppInfo.
bool apply(const QString& origin, QString* error);

} // namespace ServerOverride
