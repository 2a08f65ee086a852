#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "APIClient.h"
#include "TaskScope.h"

#include <QtQml/qqmlregistration.h>

// The school-directory switch: whether schoolmates can find the user. The switch moves at once;
// a refused change puts it back and says so.
class DiscoverabilityModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool isSchoolDiscoverable READ isSchoolDiscoverable NOTIFY changed)
    Q_PROPERTY(bool hasUniversity READ hasUniversity NOTIFY changed)
    Q_PROPERTY(bool isLoaded READ isLoaded NOTIFY changed)
    Q_PROPERTY(bool isUpdating READ isUpdating NOTIFY changed)
    Q_PROPERTY(QString errorMessage READ errorMessage NOTIFY changed)
public:
    // The app's backend client.
    explicit DiscoverabilityModel(QObject* parent = nullptr);
    DiscoverabilityModel(APIClient client, QObject* parent = nullptr);

    bool isSchoolDiscoverable() const { return discoverable_; }
    bool hasUniversity() const { return hasUniversity_; }
    bool isLoaded() const { return isLoaded_; }
    bool isUpdating() const { return isUpdating_; }
    QString errorMessage() const { return errorMessage_; }

    // Reads the current setting (when the screen appears, and after the school changes).
    Q_INVOKABLE void load();
    Q_INVOKABLE void setDiscoverable(bool enabled);

Q_SIGNALS:
    void changed();

private:
    static async::Task<void> read(DiscoverabilityModel* self);
    static async::Task<void> write(DiscoverabilityModel* self, bool enabled);

    APIClient client_;
    bool discoverable_ = false;
    bool hasUniversity_ = false;
    bool isLoaded_ = false;
    bool isUpdating_ = false;
    QString errorMessage_;
    async::TaskScope::TaskId loadTask_ = 0;
    async::TaskScope tasks_; // last: tasks end before what they use
};
