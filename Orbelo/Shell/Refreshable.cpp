#include "Refreshable.h"

#include <QtQml/qqml.h>

Refreshable::Refreshable(QObject* parent) : QObject(parent) {}

Refreshable* Refreshable::qmlAttachedProperties(QObject* object) {
    return new Refreshable(object);
}

Refreshable* Refreshable::of(QObject* object) {
    return qobject_cast<Refreshable*>(qmlAttachedPropertiesObject<Refreshable>(object, false));
}

void Refreshable::setEnabled(bool enabled) {
    if (enabled_ == enabled)
        return;
    enabled_ = enabled;
    Q_EMIT enabledChanged();
}
