#pragma once

#include "APIClient.h"
#include "CalendarFeedResponse.h"
#include "CalendarFeedRevokeResponse.h"
#include "CalendarPreviewResponse.h"

// The user's personal calendar feed of study events.
class CalendarAPI {
public:
    explicit CalendarAPI(APIClient client) : client_(std::move(client)) {}

    async::Task<CalendarFeedResponse> issueFeed() const;
    async::Task<CalendarFeedRevokeResponse> revokeFeed() const;
    async::Task<CalendarPreviewResponse> preview() const;

private:
    APIClient client_;
};
