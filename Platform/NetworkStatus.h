#pragma once

#include <QObject>

// Reports whether the machine is online, as far as reaching the backend goes.
class NetworkStatus : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // Starts reporting; updates may follow at once.
    virtual void start() = 0;

Q_SIGNALS:
    void statusReported(bool online);
};
