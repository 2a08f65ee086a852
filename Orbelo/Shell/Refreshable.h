#pragma once

#include <QObject>
#include <QtQml/qqmlregistration.h>

class QQuickItem;

// What a screen attaches to say it can reload: View → Refresh (Ctrl+R) reaches the screen that
// holds the focus or, when the focus is outside every screen (the sidebar, the menu bar), the one
// shown last that is still on screen.
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
    // Attached to `screen`, whose child it becomes.
    explicit Refreshable(QQuickItem* screen);
    ~Refreshable() override;

    static Refreshable* qmlAttachedProperties(QObject* object);
    // The one attached to `object`, when it has one.
    static Refreshable* of(QObject* object);

    bool isShown() const;
    // When the screen was last shown, in RefreshableRegistry's order.
    quint64 shownOrder() const { return shownOrder_; }
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);

Q_SIGNALS:
    void enabledChanged();
    void requested();

private:
    void screenVisibilityChanged();

    QQuickItem* screen_;
    bool enabled_ = true;
    quint64 shownOrder_ = 0;
};
