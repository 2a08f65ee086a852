#include "UniversityAPI.h"

#include "PathEncoding.h"

async::Task<QList<University>> UniversityAPI::search(const QString& query, int limit) const {
    return client_.get<QList<University>>(QStringLiteral("/api/universities?q=") +
                                          PathEncoding::queryValue(query) + QStringLiteral("&limit=") +
                                          QString::number(limit));
}

async::Task<University> UniversityAPI::university(const QString& universityId) const {
    return client_.get<University>(QStringLiteral("/api/universities/") +
                                   PathEncoding::pathComponent(universityId));
}
