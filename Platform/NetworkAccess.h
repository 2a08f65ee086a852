#pragma once

class QNetworkAccessManager;

namespace NetworkAccess {
// The main thread's network access manager, made on first use and owned by the application object.
QNetworkAccessManager& manager();
} // namespace NetworkAccess
