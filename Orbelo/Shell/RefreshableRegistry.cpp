#include "Shell/RefreshableRegistry.h"

#include "Shell/Refreshable.h"

RefreshableRegistry& RefreshableRegistry::shared() {
    static RefreshableRegistry registry;
    return registry;
}

void RefreshableRegistry::add(Refreshable* refreshable) {
    all_.append(refreshable);
}

void RefreshableRegistry::remove(Refreshable* refreshable) {
    all_.removeOne(refreshable);
    Q_EMIT changed();
}

Refreshable* RefreshableRegistry::lastShown() const {
    Refreshable* last = nullptr;
    for (Refreshable* refreshable : all_)
        if (refreshable->isShown() && (!last || refreshable->shownOrder() > last->shownOrder()))
            last = refreshable;
    return last;
}
