#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

// Decides whether a text is a course syllabus and reads its class details.
//
// A text counts as a syllabus when at least three of these signals appear: the word
// "syllabus"; an instructor/professor line; office hours; grading or grade weights; weekly
// topics ("Week 3: …"); a course description or objectives heading; required textbook or
// readings; exams (midterm/final). Either the word "syllabus" or weekly topics must be one of them.
class SyllabusAnalyzer {
public:
    bool isSyllabus = false;
    int signalCount = 0;
    QString classTitle;
    QString courseCode;
    QString instructor;
    QString meetingTimes;
    QString location;
    QString description;
    // The first day of classes as the text writes it (TermStart::phrase).
    QString termStart;
    QStringList weeklyTopics;

    static SyllabusAnalyzer analyze(const QString& text);
    // The class details as the API shows them (class_title, class_description, class_instructor,
    // class_date (the first day of classes), class_time, class_location), empty fields left out, plus
    // "topics".
    QJsonObject classInfo() const;
};
