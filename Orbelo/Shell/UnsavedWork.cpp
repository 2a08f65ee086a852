#include "Shell/UnsavedWork.h"

#include "Shell/UnsavedWorkRegistry.h"

UnsavedWork::UnsavedWork(QObject* owner) : UnsavedWork(owner, UnsavedWorkRegistry::shared()) {}

UnsavedWork::UnsavedWork(QObject* owner, UnsavedWorkRegistry& registry)
    : QObject(owner), registry_(registry) {
    registry_.add(this);
}

UnsavedWork::~UnsavedWork() {
    registry_.remove(this);
}

UnsavedWork* UnsavedWork::qmlAttachedProperties(QObject* object) {
    return new UnsavedWork(object);
}

void UnsavedWork::setDescription(const QString& description) {
    if (description == description_)
        return;
    description_ = description;
    Q_EMIT descriptionChanged();
    Q_EMIT registry_.changed();
}
