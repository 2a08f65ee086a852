#pragma once

#include <QString>

#include <optional>

// What the build says about the app: the CMake cache variables of cmake/AppInfo.cmake. A run
// against another server (`orbelo --server`) replaces the server's values at start.
namespace AppInfo {

// The reverse-DNS application id ("com.orbelo.desktop"): the Secret Service's service name, the
// URL scheme and the D-Bus name.
QString appId();

// Each value as built (or as replaced); empty when the build leaves it unset.
QString version();        // the release the user sees, "1.4.0"
QString buildNumber();    // the build's number, compared with the appcast's
QString apiBaseUrl();     // the backend, "https://127.0.0.1:8443"
QString publishableKey(); // the auth service's publishable key
QString appcastUrl();     // where the app looks for newer builds

// Values that replace the build's; a field left unset keeps what was there.
struct Values {
    std::optional<QString> version;
    std::optional<QString> buildNumber;
    std::optional<QString> apiBaseUrl;
    std::optional<QString> publishableKey;
    std::optional<QString> appcastUrl;
};

// Replaces the values set in `values` for the rest of the process. Call it at start, before
// anything reads them.
void replace(const Values& values);

} // namespace AppInfo
