#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "APIClient.h"
#include "Calendar/CalendarPreviewCounts.h"
#include "Study/ScheduleGroup.h"
#include "TaskScope.h"

#include <QTimeZone>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

// The study schedule: the study weeks and blocks the backend derived from the user's syllabuses,
// by day in the local time zone, with the user's course names beside them where known.
class StudyScheduleModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool isLoading READ isLoading NOTIFY isLoadingChanged)
    Q_PROPERTY(QString errorMessage READ errorMessage NOTIFY errorMessageChanged)
    Q_PROPERTY(bool isEmpty READ isEmpty NOTIFY scheduleChanged)
    // Each day: {label, entries: [{eventKey, title, description, time, course, accessibleName}]}.
    Q_PROPERTY(QVariantList days READ days NOTIFY scheduleChanged)
    Q_PROPERTY(QString summary READ summary NOTIFY scheduleChanged)
public:
    // The app's backend client, in the system's time zone.
    explicit StudyScheduleModel(QObject* parent = nullptr);
    StudyScheduleModel(APIClient client, QTimeZone zone, QObject* parent = nullptr);

    bool isLoading() const { return isLoading_; }
    QString errorMessage() const { return errorMessage_; }
    // Loaded, and nothing scheduled.
    bool isEmpty() const { return loaded_ && groups_.isEmpty(); }
    const QList<ScheduleGroup>& groups() const { return groups_; }
    QVariantList days() const { return days_; }
    // "3 weeks · 12 study blocks · 2 courses"; empty when the backend gave no counts.
    QString summary() const;

    // Loads the schedule; also "Try again". A load already running is not started twice.
    Q_INVOKABLE void load();

Q_SIGNALS:
    void isLoadingChanged();
    void errorMessageChanged();
    void scheduleChanged();

private:
    static async::Task<void> reload(StudyScheduleModel* self);
    static async::Task<QHash<QString, QString>> courseNames(APIClient client);
    static QVariantList daysFor(const QList<ScheduleGroup>& groups);
    void setLoading(bool loading);
    void setErrorMessage(const QString& message);

    APIClient client_;
    QTimeZone zone_;
    QList<ScheduleGroup> groups_;
    QVariantList days_; // groups_ as the screen reads them
    std::optional<CalendarPreviewCounts> counts_;
    bool loaded_ = false;
    bool isLoading_ = false;
    QString errorMessage_;
    async::TaskScope tasks_; // last: tasks end before what they use
};
