#pragma once

#include <QList>
#include <QObject>

class Refreshable;

// Every screen that attached Refreshable, in the order they were last shown.
class RefreshableRegistry : public QObject {
    Q_OBJECT
public:
    static RefreshableRegistry& shared();

    void add(Refreshable* refreshable);
    void remove(Refreshable* refreshable);
    // The next number in the order screens are shown in.
    quint64 nextShownOrder() { return ++lastShownOrder_; }
    // The screen shown most recently among those on screen now.
    Refreshable* lastShown() const;

Q_SIGNALS:
    // A screen came, went, was shown or hidden, or changed whether it can refresh.
    void changed();

private:
    QList<Refreshable*> all_;
    quint64 lastShownOrder_ = 0;
};
