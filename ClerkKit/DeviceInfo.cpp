#include "DeviceInfo.h"

#include "AppInfo.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSysInfo>

namespace {

QString readFirstLine(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readLine()).trimmed();
}

} // namespace

DeviceInfo DeviceInfo::current() {
    DeviceInfo info;
    const QByteArray machineId = QSysInfo::machineUniqueId();
    if (!machineId.isEmpty()) {
        // Never the machine id itself: a hash of it, salted with the app, as apps do on Linux.
        const QByteArray salted = machineId + AppInfo::appId().toUtf8();
        info.deviceId =
            QString::fromLatin1(QCryptographicHash::hash(salted, QCryptographicHash::Sha256).toHex());
    }
    info.deviceType = QStringLiteral("desktop");
    const QString product = readFirstLine(QStringLiteral("/sys/class/dmi/id/product_name"));
    info.deviceModel = product.isEmpty() ? QSysInfo::currentCpuArchitecture() : product;
    info.osVersion = QSysInfo::prettyProductName();
    info.appVersion = AppInfo::version();
    info.appId = AppInfo::appId();
    info.isSandboxed = QFile::exists(QStringLiteral("/.flatpak-info")) || qEnvironmentVariableIsSet("SNAP");
    return info;
}
