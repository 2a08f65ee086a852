#pragma once

#include "APIClient.h"
#include "University.h"

// The school directory behind the school picker.
class UniversityAPI {
public:
    explicit UniversityAPI(APIClient client) : client_(std::move(client)) {}

    async::Task<QList<University>> search(const QString& query, int limit) const;
    async::Task<University> university(const QString& universityId) const;

private:
    APIClient client_;
};
