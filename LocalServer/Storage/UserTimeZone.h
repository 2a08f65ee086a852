#pragma once

#include <QString>
#include <QTimeZone>

class Database;

// The time zone a user's schedule is laid out in: the IANA zone of their profile when it names
// one this system knows ("profile"), else UTC ("default").
struct UserTimeZone {
    QTimeZone zone;
    QString id;
    QString source;

    static UserTimeZone of(Database& db, const QString& userId);
};
