#include "DeepLinkInbox.h"

DeepLinkInbox& DeepLinkInbox::shared() {
    static DeepLinkInbox inbox;
    return inbox;
}

void DeepLinkInbox::deliver(const QString& deepLink) {
    pending_ = deepLink;
    Q_EMIT pendingDeepLinkChanged();
}

QString DeepLinkInbox::take() {
    const QString link = std::exchange(pending_, QString());
    if (!link.isEmpty())
        Q_EMIT pendingDeepLinkChanged();
    return link;
}
