#include "Shell/UnsavedWorkRegistry.h"

#include "Shell/UnsavedWork.h"

UnsavedWorkRegistry& UnsavedWorkRegistry::shared() {
    static UnsavedWorkRegistry registry;
    return registry;
}

void UnsavedWorkRegistry::add(UnsavedWork* work) {
    all_.append(work);
    Q_EMIT changed();
}

void UnsavedWorkRegistry::remove(UnsavedWork* work) {
    all_.removeOne(work);
    Q_EMIT changed();
}

QStringList UnsavedWorkRegistry::descriptions() const {
    QStringList found;
    for (const UnsavedWork* work : all_) {
        const QString description = work->description().trimmed();
        if (!description.isEmpty() && !found.contains(description))
            found.append(description);
    }
    return found;
}
