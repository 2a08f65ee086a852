#include "Interests/InterestSelectionStore.h"

#include "Json.h"
#include "PreferencesStore.h"

#include <algorithm>

QSet<QString> InterestSelectionStore::selections() const {
    const std::optional<QByteArray> bytes = preferences_.data(selectionsKey);
    if (!bytes)
        return {};
    try {
        const QList<QString> names = json::decode<QList<QString>>(*bytes);
        return QSet<QString>(names.cbegin(), names.cend());
    } catch (const std::exception&) {
        return {};
    }
}

bool InterestSelectionStore::hasSelections() const {
    return preferences_.contains(selectionsKey);
}

void InterestSelectionStore::setSelections(const QSet<QString>& selections) {
    // Sorted so the same set is always stored as the same bytes.
    QList<QString> names(selections.cbegin(), selections.cend());
    std::sort(names.begin(), names.end());
    preferences_.setValue(selectionsKey, json::encode(names));
}

QString InterestSelectionStore::background() const {
    return preferences_.string(backgroundKey).value_or(QString());
}

void InterestSelectionStore::setBackground(const QString& background) {
    preferences_.setValue(backgroundKey, background);
}

bool InterestSelectionStore::prompted() const {
    return preferences_.boolValue(promptedKey);
}

void InterestSelectionStore::setPrompted(bool prompted) {
    preferences_.setValue(promptedKey, prompted);
}
