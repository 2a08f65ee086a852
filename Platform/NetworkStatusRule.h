#pragma once

#include <QNetworkInformation>
#include <QString>

#include <optional>

// Whether the backend at `host` is reachable with the system's reachability: the internet counts
// for every host; a host on the local network (a private, link-local or unique-local address, a
// ".local" or single-label name) also with local or site reachability; the loopback host whatever
// the network. Nothing when the system does not know.
class NetworkStatusRule {
public:
    static std::optional<bool> isOnline(QNetworkInformation::Reachability reachability, const QString& host);

private:
    enum class HostScope { loopback, localNetwork, internet };
    static HostScope scopeOf(const QString& host);
};
