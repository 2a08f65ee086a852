#pragma once

#include <QMetaType>
#include <QString>

#include <optional>

// Where a tapped notification leads: the quiz set-up for a course (and topic), the Library or Study.
struct NotificationDestination {
    enum class Kind { quizSetup, library, study };

    Kind kind = Kind::study;
    // Only for quizSetup.
    QString courseId;
    std::optional<QString> topic;

    static NotificationDestination quizSetup(const QString& courseId,
                                             const std::optional<QString>& topic = {}) {
        return {Kind::quizSetup, courseId, topic};
    }
    static NotificationDestination library() { return {Kind::library, {}, {}}; }
    static NotificationDestination study() { return {Kind::study, {}, {}}; }

    bool operator==(const NotificationDestination&) const = default;
};

Q_DECLARE_METATYPE(NotificationDestination)
