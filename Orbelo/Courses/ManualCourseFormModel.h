#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "APIClient.h"
#include "Courses/ClassInfoRequest.h"
#include "Courses/StudyPlanGenerationRequest.h"
#include "TaskScope.h"

#include <QtQml/qqmlregistration.h>

// "Add a course": a course typed in by hand. Creating it saves the class details, then starts the
// study plan from its topics; created() reports the new course once both have gone through. A
// course saved whose plan did not start is reported by savedWithoutPlan(), and the form creates
// nothing more until reset().
class ManualCourseFormModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString title READ title WRITE setTitle NOTIFY fieldsChanged)
    Q_PROPERTY(QString code READ code WRITE setCode NOTIFY fieldsChanged)
    Q_PROPERTY(QString instructor READ instructor WRITE setInstructor NOTIFY fieldsChanged)
    Q_PROPERTY(QString meetingTimes READ meetingTimes WRITE setMeetingTimes NOTIFY fieldsChanged)
    Q_PROPERTY(QString topicsText READ topicsText WRITE setTopicsText NOTIFY fieldsChanged)
    Q_PROPERTY(bool titleFocused READ titleFocused WRITE setTitleFocused NOTIFY titleFocusedChanged)
    Q_PROPERTY(bool canCreate READ canCreate NOTIFY stateChanged)
    Q_PROPERTY(bool isSubmitting READ isSubmitting NOTIFY stateChanged)
    Q_PROPERTY(QString statusMessage READ statusMessage NOTIFY stateChanged)
    Q_PROPERTY(QString errorMessage READ errorMessage NOTIFY stateChanged)
public:
    static inline const QString studyPlanFailedMessage =
        QStringLiteral("Your course was saved, but we couldn't start its study plan. Choose Refresh (Ctrl+R) "
                       "in a moment — it may already be there.");

    // The app's backend client.
    explicit ManualCourseFormModel(QObject* parent = nullptr);
    explicit ManualCourseFormModel(APIClient client, QObject* parent = nullptr);

    QString title() const { return title_; }
    void setTitle(const QString& value);
    QString code() const { return code_; }
    void setCode(const QString& value);
    QString instructor() const { return instructor_; }
    void setInstructor(const QString& value);
    QString meetingTimes() const { return meetingTimes_; }
    void setMeetingTimes(const QString& value);
    QString topicsText() const { return topicsText_; }
    void setTopicsText(const QString& value);
    bool titleFocused() const { return titleFocused_; }
    void setTitleFocused(bool focused);
    // A title is all a course needs; a form whose course is saved is done.
    bool canCreate() const { return !isSubmitting_ && !isSaved_ && !title_.trimmed().isEmpty(); }
    bool isSubmitting() const { return isSubmitting_; }
    QString statusMessage() const { return statusMessage_; }
    QString errorMessage() const { return errorMessage_; }

    // One topic per non-blank line, trimmed.
    QStringList topics() const;
    ClassInfoRequest classInfoRequest() const;
    SyllabusInfoRequest syllabusInfo() const;

    Q_INVOKABLE void create();
    // An empty form with the title focused, for the next time the sheet opens; not while creating.
    Q_INVOKABLE void reset();

Q_SIGNALS:
    void fieldsChanged();
    void titleFocusedChanged();
    void stateChanged();
    void created(const QString& courseId);
    // The course is saved but its study plan did not start.
    void savedWithoutPlan(const QString& courseId);

private:
    static async::Task<void> submit(ManualCourseFormModel* self, ClassInfoRequest request,
                                    SyllabusInfoRequest syllabus);
    void setField(QString& field, const QString& value);
    void setState(bool submitting, const QString& status, const QString& error);

    APIClient client_;
    QString title_;
    QString code_;
    QString instructor_;
    QString meetingTimes_;
    QString topicsText_;
    // The course is saved: this form is done with.
    bool isSaved_ = false;
    bool titleFocused_ = true;
    bool isSubmitting_ = false;
    QString statusMessage_;
    QString errorMessage_;
    async::TaskScope tasks_; // last: tasks end before what they use
};
