#include "NetworkStatusRule.h"

#include <QHostAddress>

using Reachability = QNetworkInformation::Reachability;

namespace {

// The IPv4 ranges set aside for private networks.
bool isPrivateIPv4(const QHostAddress& address) {
    static const std::pair<QHostAddress, int> ranges[] = {{QHostAddress(QStringLiteral("10.0.0.0")), 8},
                                                          {QHostAddress(QStringLiteral("172.16.0.0")), 12},
                                                          {QHostAddress(QStringLiteral("192.168.0.0")), 16}};
    for (const auto& [network, prefix] : ranges)
        if (address.isInSubnet(network, prefix))
            return true;
    return false;
}

} // namespace

NetworkStatusRule::HostScope NetworkStatusRule::scopeOf(const QString& host) {
    const QString name = host.toLower();
    if (name == QLatin1String("localhost") || name.endsWith(QLatin1String(".localhost")))
        return HostScope::loopback;
    const QHostAddress address(name.startsWith('[') ? name.mid(1, name.size() - 2) : name);
    if (address.isNull())
        return name.endsWith(QLatin1String(".local")) || !name.contains('.') ? HostScope::localNetwork
                                                                             : HostScope::internet;
    if (address.isLoopback())
        return HostScope::loopback;
    if (isPrivateIPv4(address) || address.isLinkLocal() || address.isUniqueLocalUnicast() ||
        address.isSiteLocal())
        return HostScope::localNetwork;
    return HostScope::internet;
}

std::optional<bool> NetworkStatusRule::isOnline(Reachability reachability, const QString& host) {
    if (reachability == Reachability::Unknown)
        return std::nullopt;
    switch (scopeOf(host)) {
    case HostScope::loopback:
        return true;
    case HostScope::localNetwork:
        return reachability != Reachability::Disconnected;
    case HostScope::internet:
        return reachability == Reachability::Online;
    }
    return std::nullopt;
}
