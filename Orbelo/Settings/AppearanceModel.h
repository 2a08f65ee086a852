#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "APIClient.h"
#include "Gamification/UserRewardItem.h"
#include "Task.h"

#include <QPointer>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

class Appearance;
class PreferencesStore;

// The settings screen's Appearance choice: "System", "Light", "Dark" and, once the Night Owl theme
// is owned, "Night Owl". The choice is kept in the app's preferences and applied to Appearance.
class AppearanceModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QVariantList options READ options NOTIFY changed)
    Q_PROPERTY(QString choice READ choice NOTIFY changed)
    Q_PROPERTY(QString note READ note NOTIFY changed)
    // The Appearance the choice is put on (QML: the singleton); anything else is none.
    Q_PROPERTY(QObject* appearance READ appearance WRITE setAppearance NOTIFY changed)
public:
    static inline const QString choiceKey = QStringLiteral("appearance.choice");
    static inline const QString highContrastNote = QStringLiteral(
        "Your desktop asks for high contrast, so the app uses high-contrast colours whatever is chosen "
        "here, Night Owl included.");
    static inline const QString nightOwlWaitsNote =
        QStringLiteral("Night Owl comes back once your rewards confirm you own it.");

    // The standard preferences; the look comes as the appearance property.
    explicit AppearanceModel(QObject* parent = nullptr);
    AppearanceModel(Appearance& appearance, PreferencesStore& preferences, QObject* parent = nullptr);

    QObject* appearance() const;
    void setAppearance(QObject* appearance);

    // [{value, label}], Night Owl only when owned.
    QVariantList options() const;
    QString choice() const;
    QString note() const;
    Q_INVOKABLE void choose(const QString& value);

    // The stored choice, put on `appearance` at start.
    static void restore(Appearance& appearance, const PreferencesStore& preferences);
    // Whether the purchased list holds a theme reward that is still active.
    static bool ownsTheme(const QList<UserRewardItem>& owned);
    // Asks the server for the user's rewards and tells `appearance` whether Night Owl is owned; a
    // failed request leaves it as it was.
    static async::Task<void> refreshOwnership(APIClient client, QString userId, Appearance* appearance);

Q_SIGNALS:
    void changed();

private:
    AppearanceModel(Appearance* appearance, PreferencesStore& preferences, QObject* parent);

    QPointer<Appearance> appearance_;
    PreferencesStore& preferences_;
};
