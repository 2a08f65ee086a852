#include "Shell/Refreshable.h"

#include "Shell/RefreshableRegistry.h"

#include <QQuickItem>

Refreshable::Refreshable(QQuickItem* screen) : QObject(screen), screen_(screen) {
    RefreshableRegistry::shared().add(this);
    connect(screen, &QQuickItem::visibleChanged, this, &Refreshable::screenVisibilityChanged);
    screenVisibilityChanged();
}

Refreshable::~Refreshable() {
    RefreshableRegistry::shared().remove(this);
}

Refreshable* Refreshable::qmlAttachedProperties(QObject* object) {
    auto* screen = qobject_cast<QQuickItem*>(object);
    if (!screen) {
        qWarning("Refreshable attaches to items only");
        return nullptr;
    }
    return new Refreshable(screen);
}

Refreshable* Refreshable::of(QObject* object) {
    // The attached object is a child of the item it is attached to.
    return object->findChild<Refreshable*>(QString(), Qt::FindDirectChildrenOnly);
}

bool Refreshable::isShown() const {
    return screen_->isVisible();
}

void Refreshable::setEnabled(bool enabled) {
    if (enabled_ == enabled)
        return;
    enabled_ = enabled;
    Q_EMIT enabledChanged();
    Q_EMIT RefreshableRegistry::shared().changed();
}

void Refreshable::screenVisibilityChanged() {
    if (isShown())
        shownOrder_ = RefreshableRegistry::shared().nextShownOrder();
    Q_EMIT RefreshableRegistry::shared().changed();
}
