#include "Refreshable.h"

Refreshable::Refreshable(QObject* parent) : QObject(parent) {}

Refreshable* Refreshable::qmlAttachedProperties(QObject* object) {
    return new Refreshable(object);
}

Refreshable* Refreshable::of(QObject* object) {
    // The attached object is a child of the object it is attached to.
    return object->findChild<Refreshable*>(QString(), Qt::FindDirectChildrenOnly);
}

void Refreshable::setEnabled(bool enabled) {
    if (enabled_ == enabled)
        return;
    enabled_ = enabled;
    Q_EMIT enabledChanged();
}
