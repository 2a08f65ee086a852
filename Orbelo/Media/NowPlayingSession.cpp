#include "Media/NowPlayingSession.h"

#include "Media/MprisPlayerAdaptor.h"
#include "Media/MprisRootAdaptor.h"

#include <QDBusConnectionInterface>

NowPlayingSession::NowPlayingSession(QDBusConnection bus, QObject* parent) : QObject(parent), bus_(bus) {
    new MprisRootAdaptor(this);
    new MprisPlayerAdaptor(this);
}

NowPlayingSession::~NowPlayingSession() {
    withdraw();
}

void NowPlayingSession::publish(const QString& title, const QString& detail, Status status) {
    if (!published_ && bus_.isConnected()) {
        published_ = bus_.registerObject(objectPath, this, QDBusConnection::ExportAdaptors) &&
                     bus_.registerService(serviceName);
        if (!published_)
            bus_.unregisterObject(objectPath);
    }
    if (title != title_ || detail != detail_) {
        title_ = title;
        detail_ = detail;
        ++track_;
        Q_EMIT metadataChanged();
    }
    if (status != status_) {
        status_ = status;
        Q_EMIT statusChanged();
    }
}

void NowPlayingSession::withdraw() {
    if (!published_)
        return;
    bus_.unregisterService(serviceName);
    bus_.unregisterObject(objectPath);
    published_ = false;
}
