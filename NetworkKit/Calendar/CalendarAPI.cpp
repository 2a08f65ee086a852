#include "CalendarAPI.h"

#include "EmptyRequestBody.h"

async::Task<CalendarFeedResponse> CalendarAPI::issueFeed() const {
    return client_.post<CalendarFeedResponse>(QStringLiteral("/api/calendar/feed/issue"), EmptyRequestBody{});
}

async::Task<CalendarFeedRevokeResponse> CalendarAPI::revokeFeed() const {
    return client_.post<CalendarFeedRevokeResponse>(QStringLiteral("/api/calendar/feed/revoke"),
                                                    EmptyRequestBody{});
}

async::Task<CalendarPreviewResponse> CalendarAPI::preview() const {
    return client_.get<CalendarPreviewResponse>(QStringLiteral("/api/calendar/preview"));
}
