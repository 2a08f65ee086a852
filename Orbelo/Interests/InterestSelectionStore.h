#pragma once

#include <QSet>
#include <QString>

class PreferencesStore;

// The chosen interests, the background sentence and whether the one-time prompt has been offered,
// kept in the preferences store. The selection is a set; it is stored as a JSON array of names.
class InterestSelectionStore {
public:
    static inline const QString selectionsKey = QStringLiteral("orbelo.interests.v1.selections");
    static inline const QString backgroundKey = QStringLiteral("orbelo.interests.v1.background");
    static inline const QString promptedKey = QStringLiteral("orbelo.interests.v1.prompted");

    // `preferences` outlives the store.
    explicit InterestSelectionStore(PreferencesStore& preferences) : preferences_(preferences) {}

    // A missing or unreadable value is the empty set (the next save replaces it).
    QSet<QString> selections() const;
    // Whether a selection was ever stored here, readable or not.
    bool hasSelections() const;
    void setSelections(const QSet<QString>& selections);
    QString background() const;
    void setBackground(const QString& background);
    bool prompted() const;
    void setPrompted(bool prompted);

private:
    PreferencesStore& preferences_;
};
