#include "Courses/ManualCourseFormModel.h"

#include "Auth/AuthSession.h"
#include "Common/FailureMessage.h"
#include "Courses/CourseAPI.h"

namespace {

std::optional<QString> optionalText(const QString& text) {
    const QString trimmed = text.trimmed();
    return trimmed.isEmpty() ? std::nullopt : std::optional<QString>(trimmed);
}

} // namespace

ManualCourseFormModel::ManualCourseFormModel(QObject* parent)
    : ManualCourseFormModel(AuthSession::makeAPIClient(), parent) {}

ManualCourseFormModel::ManualCourseFormModel(APIClient client, QObject* parent)
    : QObject(parent), client_(std::move(client)) {}

void ManualCourseFormModel::setTitle(const QString& value) {
    const bool could = canCreate();
    setField(title_, value);
    if (could != canCreate())
        Q_EMIT stateChanged();
}

void ManualCourseFormModel::setCode(const QString& value) {
    setField(code_, value);
}

void ManualCourseFormModel::setInstructor(const QString& value) {
    setField(instructor_, value);
}

void ManualCourseFormModel::setMeetingTimes(const QString& value) {
    setField(meetingTimes_, value);
}

void ManualCourseFormModel::setTopicsText(const QString& value) {
    setField(topicsText_, value);
}

void ManualCourseFormModel::setField(QString& field, const QString& value) {
    if (field == value)
        return;
    field = value;
    Q_EMIT fieldsChanged();
}

void ManualCourseFormModel::setTitleFocused(bool focused) {
    if (focused == titleFocused_)
        return;
    titleFocused_ = focused;
    Q_EMIT titleFocusedChanged();
}

QStringList ManualCourseFormModel::topics() const {
    QStringList topics;
    for (const QString& line : topicsText_.split(QLatin1Char('\n'))) {
        if (!line.trimmed().isEmpty())
            topics << line.trimmed();
    }
    return topics;
}

// The class details have no place for the course code; it reaches the backend with the study plan.
ClassInfoRequest ManualCourseFormModel::classInfoRequest() const {
    ClassInfoRequest request;
    request.classTitle = title_.trimmed();
    request.classInstructor = optionalText(instructor_);
    request.classTime = optionalText(meetingTimes_);
    if (const QStringList list = topics(); !list.isEmpty())
        request.topics = list;
    return request;
}

SyllabusInfoRequest ManualCourseFormModel::syllabusInfo() const {
    SyllabusInfoRequest info;
    info.courseName = title_.trimmed();
    info.courseCode = optionalText(code_);
    info.instructor = optionalText(instructor_);
    info.meetingTimes = optionalText(meetingTimes_);
    if (const QStringList list = topics(); !list.isEmpty())
        info.learningObjectives = list;
    return info;
}

void ManualCourseFormModel::create() {
    if (!canCreate())
        return;
    setState(true, QStringLiteral("Creating “%1”…").arg(title_.trimmed()), {});
    tasks_.spawn(submit(this, classInfoRequest(), syllabusInfo()));
}

async::Task<void> ManualCourseFormModel::submit(ManualCourseFormModel* self, ClassInfoRequest request,
                                                SyllabusInfoRequest syllabus) {
    const CourseAPI api(self->client_);
    QString courseId;
    try {
        const ClassInfoResponse created = co_await api.createClass(request);
        courseId = created.courseId.value_or(QString());
        // Saved, however the plan goes: another Create would make a second course.
        self->isSaved_ = true;
    } catch (...) {
        self->setState(false, {},
                       QStringLiteral("Couldn't create your course: ") +
                           FailureMessage::describe(std::current_exception()));
        co_return;
    }
    self->setState(true, QStringLiteral("Building your study plan…"), {});
    bool started = false;
    try {
        const StudyPlanGenerationRequest plan{courseId, syllabus};
        const StudyPlanGenerationResponse answer = co_await api.generateStudyPlan(plan);
        started = answer.status == QStringLiteral("success");
    } catch (...) {
        started = false;
    }
    if (!started) {
        self->setState(false, {}, studyPlanFailedMessage);
        Q_EMIT self->savedWithoutPlan(courseId);
        co_return;
    }
    self->setState(false, {}, {});
    Q_EMIT self->created(courseId);
}

void ManualCourseFormModel::reset() {
    if (isSubmitting_)
        return;
    title_.clear();
    code_.clear();
    instructor_.clear();
    meetingTimes_.clear();
    topicsText_.clear();
    isSaved_ = false;
    Q_EMIT fieldsChanged();
    setTitleFocused(true);
    setState(false, {}, {});
}

void ManualCourseFormModel::setState(bool submitting, const QString& status, const QString& error) {
    isSubmitting_ = submitting;
    statusMessage_ = status;
    errorMessage_ = error;
    Q_EMIT stateChanged();
}
