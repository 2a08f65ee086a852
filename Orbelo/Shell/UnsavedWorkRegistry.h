#pragma once

#include <QList>
#include <QObject>
#include <QStringList>

class UnsavedWork;

// Every UnsavedWork alive, whether its screen is shown or kept hidden.
class UnsavedWorkRegistry : public QObject {
    Q_OBJECT
public:
    static UnsavedWorkRegistry& shared();

    void add(UnsavedWork* work);
    void remove(UnsavedWork* work);
    // The descriptions that are not blank, each once, in the order their holders came.
    QStringList descriptions() const;

Q_SIGNALS:
    // Work came, went or changed its description.
    void changed();

private:
    QList<UnsavedWork*> all_;
};
