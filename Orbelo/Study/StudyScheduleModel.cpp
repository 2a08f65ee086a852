#include "Study/StudyScheduleModel.h"

#include "Auth/AuthSession.h"
#include "Calendar/CalendarAPI.h"
#include "Common/FailureMessage.h"
#include "Study/ScheduleGrouping.h"
#include "User/UserAPI.h"

namespace {

QString counted(int count, const QString& one, const QString& many) {
    return QString::number(count) + u' ' + (count == 1 ? one : many);
}

} // namespace

StudyScheduleModel::StudyScheduleModel(QObject* parent)
    : StudyScheduleModel(AuthSession::makeAPIClient(), QTimeZone::systemTimeZone(), parent) {}

StudyScheduleModel::StudyScheduleModel(APIClient client, QTimeZone zone, QObject* parent)
    : QObject(parent), client_(std::move(client)), zone_(std::move(zone)) {}

QVariantList StudyScheduleModel::daysFor(const QList<ScheduleGroup>& groups) {
    QVariantList days;
    for (const ScheduleGroup& group : groups) {
        QVariantList entries;
        for (const ScheduleEntry& entry : group.entries)
            entries << QVariantMap{
                {QStringLiteral("eventKey"), entry.eventKey},
                {QStringLiteral("title"), entry.title},
                {QStringLiteral("description"), entry.description},
                {QStringLiteral("time"), entry.timeText},
                {QStringLiteral("course"), entry.courseName},
                {QStringLiteral("accessibleName"), ScheduleGrouping::accessibleName(group, entry)}};
        days << QVariantMap{{QStringLiteral("label"), group.label}, {QStringLiteral("entries"), entries}};
    }
    return days;
}

QString StudyScheduleModel::summary() const {
    if (!counts_)
        return {};
    QStringList parts;
    if (counts_->planWeeks)
        parts << counted(*counts_->planWeeks, QStringLiteral("week"), QStringLiteral("weeks"));
    if (counts_->studyBlocks)
        parts << counted(*counts_->studyBlocks, QStringLiteral("study block"),
                         QStringLiteral("study blocks"));
    if (counts_->courses)
        parts << counted(*counts_->courses, QStringLiteral("course"), QStringLiteral("courses"));
    return parts.join(QStringLiteral(" · "));
}

void StudyScheduleModel::load() {
    if (isLoading_)
        return;
    tasks_.spawn(reload(this));
}

async::Task<void> StudyScheduleModel::reload(StudyScheduleModel* self) {
    self->setLoading(true);
    self->setErrorMessage({});
    try {
        const CalendarAPI api(self->client_);
        const CalendarPreviewResponse preview = co_await api.preview();
        const QHash<QString, QString> names = co_await courseNames(self->client_);
        self->groups_ =
            ScheduleGrouping::byDay(preview.events.value_or(QList<StudyEventSummary>()), self->zone_, names);
        self->days_ = daysFor(self->groups_);
        self->counts_ = preview.counts;
        self->loaded_ = true;
        Q_EMIT self->scheduleChanged();
    } catch (...) {
        self->setErrorMessage(QStringLiteral("Couldn't load your schedule: ") +
                              FailureMessage::describe(std::current_exception()));
    }
    self->setLoading(false);
}

// The courses only name the events; without them the schedule still shows, so a failure here is
// not the schedule's failure.
async::Task<QHash<QString, QString>> StudyScheduleModel::courseNames(APIClient client) {
    QHash<QString, QString> names;
    try {
        const UserAPI api(client);
        const BootstrapResponse bootstrap = co_await api.bootstrap();
        for (const CourseSummary& course : bootstrap.courses) {
            if (course.courseName)
                names.insert(course.courseId, *course.courseName);
        }
    } catch (...) {
    }
    co_return names;
}

void StudyScheduleModel::setLoading(bool loading) {
    if (loading == isLoading_)
        return;
    isLoading_ = loading;
    Q_EMIT isLoadingChanged();
}

void StudyScheduleModel::setErrorMessage(const QString& message) {
    if (message == errorMessage_)
        return;
    errorMessage_ = message;
    Q_EMIT errorMessageChanged();
}
