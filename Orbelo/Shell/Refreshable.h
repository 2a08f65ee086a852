#pragma once

#include <QObject>
#include <QtQml/qqmlregistration.h>

// What a screen attaches to say it can reload: View → Refresh (Ctrl+R) reaches the screen that
// holds the focus, or the one that held it last while it is still shown.
//
//     Refreshable.onRequested: model.load()
//     Refreshable.enabled: !model.isLoading
class Refreshable : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Refreshable is used as an attached property")
    QML_ATTACHED(Refreshable)
    Q_PROPERTY(bool enabled READ isEnabled WRITE setEnabled NOTIFY enabledChanged)
public:
    explicit Refreshable(QObject* parent = nullptr);

    static Refreshable* qmlAttachedProperties(QObject* object);
    // The one attached to `object`, when it has one.
    static Refreshable* of(QObject* object);

    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);

Q_SIGNALS:
    void enabledChanged();
    void requested();

private:
    bool enabled_ = true;
};
