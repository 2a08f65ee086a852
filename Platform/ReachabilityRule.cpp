#include "ReachabilityRule.h"

#include <QHostAddress>

using Reachability = QNetworkInformation::Reachability;

namespace {

// The IPv4 private-use ranges (RFC 1918); QHostAddress::isPrivateUse() is newer than Qt 6.4.
bool isPrivateUse(const QHostAddress& address) {
    for (const char* range : {"10.0.0.0/8", "172.16.0.0/12", "192.168.0.0/16"})
        if (address.isInSubnet(QHostAddress::parseSubnet(QLatin1String(range))))
            return true;
    return false;
}

} // namespace

ReachabilityRule::HostScope ReachabilityRule::scopeOf(const QString& host) {
    const QString name = host.toLower();
    if (name == QLatin1String("localhost") || name.endsWith(QLatin1String(".localhost")))
        return HostScope::loopback;
    const QHostAddress address(name.startsWith('[') ? name.mid(1, name.size() - 2) : name);
    if (address.isNull())
        return name.endsWith(QLatin1String(".local")) || !name.contains('.') ? HostScope::localNetwork
                                                                              : HostScope::internet;
    if (address.isLoopback())
        return HostScope::loopback;
    if (isPrivateUse(address) || address.isLinkLocal() || address.isUniqueLocalUnicast() ||
        address.isSiteLocal())
        return HostScope::localNetwork;
    return HostScope::internet;
}

std::optional<bool> ReachabilityRule::isOnline(Reachability reachability, const QString& host) {
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
